#pragma once
// frmSplashScreen: "Gathering data, please wait..." over the main window
// while Write To File runs. It has no logic of its own.
#include "platform/win32/windows_api.h"

namespace fernwick::win32 {

class SplashWindow {
 public:
  SplashWindow(HINSTANCE instance, HFONT font) : instance_(instance), font_(font) {}
  ~SplashWindow();
  SplashWindow(const SplashWindow&) = delete;
  SplashWindow& operator=(const SplashWindow&) = delete;

  // Places the splash 2800 twips below and 700 twips right of the owner's
  // top left corner, in front, not modal, painted at once.
  void Show(HWND owner, int dpiX, int dpiY);
  void Hide();

 private:
  HINSTANCE instance_;
  HFONT font_;
  HWND window_ = nullptr;
};

}  // namespace fernwick::win32
