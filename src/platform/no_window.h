#pragma once
// A user interface with nobody in front of it: every message box answers OK,
// the folder picker is cancelled and nothing is opened. Tests, benchmarks and
// fuzz targets start from it and override what they watch.
#include <cstdint>
#include <string>

#include "platform/user_interface.h"

namespace fernwick::platform {

class NoWindow : public UserInterface {
 public:
  int MessageBox(const std::string&, const std::string&, unsigned) override { return kIdOk; }
  bool SetClipboardText(const std::string&) override { return true; }
  std::string BrowseForFolder() override { return {}; }
  std::intptr_t RunShellExecute(const std::string&, const std::string&, const std::string&, const std::string&,
                                int) override {
    return 0;
  }
  void SetWaitPointer(bool) override {}
};

}  // namespace fernwick::platform
