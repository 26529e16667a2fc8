#include "platform/recording/recording_internet.h"

namespace fernwick::recording {
namespace {

class RecordingUrl : public platform::InternetUrl {
 public:
  RecordingUrl(std::unique_ptr<platform::InternetUrl> real, Capture& capture, std::size_t page)
      : real_(std::move(real)), capture_(capture), page_(page) {}

  std::optional<std::string> Read(std::size_t maxBytes) override {
    std::optional<std::string> block = real_->Read(maxBytes);
    if (page_ < capture_.pages.size() && capture_.pages[page_].readError == 0) {
      if (block) {
        capture_.pages[page_].body += *block;
      } else {
        capture_.pages[page_].readError = real_->LastError();
      }
    }
    return block;
  }
  std::uint32_t LastError() const override { return real_->LastError(); }

 private:
  std::unique_ptr<platform::InternetUrl> real_;
  Capture& capture_;
  std::size_t page_;
};

}  // namespace

std::unique_ptr<platform::InternetUrl> RecordingInternet::OpenUrl(const std::string& agent, std::uint32_t accessType,
                                                                  const std::string& url, std::uint32_t flags,
                                                                  std::uint32_t& error) {
  std::unique_ptr<platform::InternetUrl> opened = real_.OpenUrl(agent, accessType, url, flags, error);
  for (const CapturedPage& page : capture_.pages) {
    if (page.url == url) return opened;  // the first fetch is the one kept
  }
  CapturedPage page;
  page.url = url;
  page.openError = opened ? 0 : (error == 0 ? 1u : error);
  capture_.pages.push_back(std::move(page));
  if (!opened) return opened;
  return std::make_unique<RecordingUrl>(std::move(opened), capture_, capture_.pages.size() - 1);
}

}  // namespace fernwick::recording
