#pragma once
// The web server of a server image: pages/<host>/<path> of the image is the
// body of http://<host>/<path> (host and path matched without regard to
// case, as IIS does). A host without a folder has no web server: the open
// fails with 12029, as WinINet's "cannot connect". A missing page on a host
// that has one answers IIS's "page cannot be found" body, which is what
// WinINet hands a program for a 404. See docs/server-image.md.
#include <filesystem>

#include "platform/internet.h"

namespace fernwick::image {

class ImageInternet : public platform::Internet {
 public:
  explicit ImageInternet(std::filesystem::path imageRoot) : imageRoot_(std::move(imageRoot)) {}
  std::unique_ptr<platform::InternetUrl> OpenUrl(const std::string& agent, std::uint32_t accessType,
                                                 const std::string& url, std::uint32_t flags,
                                                 std::uint32_t& error) override;

 private:
  std::filesystem::path imageRoot_;
};

}  // namespace fernwick::image
