#include "platform/win32/win32_internet.h"

#include "platform/win32/win32_handles.h"

namespace fernwick::win32 {

namespace {

class Win32InternetUrl : public platform::InternetUrl {
 public:
  Win32InternetUrl(UniqueInternetHandle session, UniqueInternetHandle url)
      : session_(std::move(session)), url_(std::move(url)) {}

  std::optional<std::string> Read(std::size_t maxBytes) override {
    std::string block(maxBytes, '\0');
    DWORD got = 0;
    if (InternetReadFile(url_.Get(), block.data(), static_cast<DWORD>(maxBytes), &got) == FALSE) {
      lastError_ = GetLastError();
      return std::nullopt;
    }
    block.resize(got);
    return block;
  }
  std::uint32_t LastError() const override { return lastError_; }

 private:
  // Members go in reverse order: the URL handle closes before the access it came from.
  UniqueInternetHandle session_;
  UniqueInternetHandle url_;
  std::uint32_t lastError_ = 0;
};

}  // namespace

std::unique_ptr<platform::InternetUrl> Win32Internet::OpenUrl(const std::string& agent, std::uint32_t accessType,
                                                              const std::string& url, std::uint32_t flags,
                                                              std::uint32_t& error) {
  error = 0;
  UniqueInternetHandle session(InternetOpenA(agent.c_str(), accessType, nullptr, nullptr, 0));
  if (!session) {
    error = GetLastError();
    return nullptr;
  }
  const DWORD timeouts[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                            INTERNET_OPTION_RECEIVE_TIMEOUT};
  for (const DWORD option : timeouts) {
    DWORD timeout = platform::kInternetTimeoutMs;
    InternetSetOptionA(session.Get(), option, &timeout, sizeof timeout);
  }
  UniqueInternetHandle opened(InternetOpenUrlA(session.Get(), url.c_str(), nullptr, 0, flags, 0));
  if (!opened) {
    error = GetLastError();
    return nullptr;
  }
  return std::make_unique<Win32InternetUrl>(std::move(session), std::move(opened));
}

}  // namespace fernwick::win32
