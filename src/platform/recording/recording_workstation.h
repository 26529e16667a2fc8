#pragma once
// The workstation facts, recorded: each call's answer and its code.
#include "platform/recording/capture.h"
#include "platform/workstation.h"

namespace fernwick::recording {

class RecordingWorkstation : public platform::Workstation {
 public:
  RecordingWorkstation(platform::Workstation& real, Capture& capture) : real_(real), capture_(capture) {}

  std::uint32_t OsPlatformId() override {
    const std::uint32_t id = real_.OsPlatformId();
    if (!capture_.workstation.osPlatformId) capture_.workstation.osPlatformId = id;
    return id;
  }
  std::uint32_t GetInfo102(platform::WkstaInfo102& info) override {
    const std::uint32_t code = real_.GetInfo102(info);
    if (!capture_.workstation.info102Code) {
      capture_.workstation.info102Code = code;
      if (code == 0) capture_.workstation.info102 = info;
    }
    return code;
  }
  std::uint32_t GetUserInfo1(platform::WkstaUserInfo1& info) override {
    const std::uint32_t code = real_.GetUserInfo1(info);
    if (!capture_.workstation.userInfoCode) {
      capture_.workstation.userInfoCode = code;
      if (code == 0) capture_.workstation.userInfo1 = info;
    }
    return code;
  }

 private:
  platform::Workstation& real_;
  Capture& capture_;
};

}  // namespace fernwick::recording
