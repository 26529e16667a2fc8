#pragma once
// The code page of a server image: [system] AnsiCodePage in image.ini
// (1252 when it is not stated), converted with the C library's iconv.
#include "platform/code_pages.h"

namespace fernwick::image {

class ImageCodePages : public platform::CodePages {
 public:
  explicit ImageCodePages(std::uint32_t ansiCodePage) : ansiCodePage_(ansiCodePage) {}
  std::uint32_t AnsiCodePage() override { return ansiCodePage_; }
  std::optional<std::string> ToUtf8(std::string_view text, std::uint32_t codePage) override;

 private:
  std::uint32_t ansiCodePage_;
};

}  // namespace fernwick::image
