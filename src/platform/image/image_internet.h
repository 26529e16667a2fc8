#pragma once
// The web server of a server image: pages/<host>/<path> of the image is the
// body of http://<host>/<path> (host and path matched without regard to
// case, as IIS does). A host without a folder has no web server: the open
// fails with 12029, as WinINet's "cannot connect". A missing page on a host
// that has one answers IIS's "page cannot be found" body, which is what
// WinINet hands a program for a 404. See docs/server-image.md.
#include <filesystem>

#include "platform/image/recorded_answers.h"
#include "platform/internet.h"

namespace fernwick::image {

class ImageInternet : public platform::Internet {
 public:
  explicit ImageInternet(std::filesystem::path imageRoot) : imageRoot_(std::move(imageRoot)) {}
  // Recorded answers (answers.txt): a URL recorded as failing fails with its
  // code, and a body recorded as failing part way fails after it. A `strict`
  // (captured) image has no "cannot connect" and no 404 of its own: a page
  // it does not hold is "not captured".
  void UseRecorded(const RecordedAnswers& answers, bool strict) {
    recorded_ = &answers;
    strict_ = strict;
  }
  std::unique_ptr<platform::InternetUrl> OpenUrl(const std::string& agent, std::uint32_t accessType,
                                                 const std::string& url, std::uint32_t flags,
                                                 std::uint32_t& error) override;

 private:
  std::filesystem::path imageRoot_;
  const RecordedAnswers* recorded_ = nullptr;
  bool strict_ = false;
};

}  // namespace fernwick::image
