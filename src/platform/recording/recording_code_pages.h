#pragma once
// The code page, recorded: GetACP's answer. Converting text asks nothing of
// the machine beyond it.
#include "platform/code_pages.h"
#include "platform/recording/capture.h"

namespace fernwick::recording {

class RecordingCodePages : public platform::CodePages {
 public:
  RecordingCodePages(platform::CodePages& real, Capture& capture) : real_(real), capture_(capture) {}
  std::uint32_t AnsiCodePage() override {
    const std::uint32_t codePage = real_.AnsiCodePage();
    if (!capture_.ansiCodePage) capture_.ansiCodePage = codePage;
    return codePage;
  }
  std::optional<std::string> ToUtf8(std::string_view text, std::uint32_t codePage) override {
    return real_.ToUtf8(text, codePage);
  }

 private:
  platform::CodePages& real_;
  Capture& capture_;
};

}  // namespace fernwick::recording
