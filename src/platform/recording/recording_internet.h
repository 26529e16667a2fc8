#pragma once
// Web pages, recorded: the body read, or the code the open or a read
// failed with.
#include "platform/internet.h"
#include "platform/recording/capture.h"

namespace fernwick::recording {

class RecordingInternet : public platform::Internet {
 public:
  RecordingInternet(platform::Internet& real, Capture& capture) : real_(real), capture_(capture) {}
  std::unique_ptr<platform::InternetUrl> OpenUrl(const std::string& agent, std::uint32_t accessType,
                                                 const std::string& url, std::uint32_t flags,
                                                 std::uint32_t& error) override;

 private:
  platform::Internet& real_;
  Capture& capture_;
};

}  // namespace fernwick::recording
