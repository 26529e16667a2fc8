#pragma once
// frmSplashScreen: "Gathering data, please wait..." over the main window
// while Write To File runs. It has no logic of its own; like every window
// of the program it follows the language choice.
#include "platform/win32/windows_api.h"

#include "platform/win32/win32_handles.h"
#include "shell/localize.h"

namespace fernwick::win32 {

class SplashWindow : public shell::LocalizedWindow {
 public:
  // `design` is the font the window is laid out in.
  SplashWindow(HINSTANCE instance, shell::Localizer& localizer, const LOGFONTW& design)
      : instance_(instance), localizer_(localizer), designFont_(design) {}
  ~SplashWindow() override;
  SplashWindow(const SplashWindow&) = delete;
  SplashWindow& operator=(const SplashWindow&) = delete;

  // Places the splash 2800 twips below and 700 twips right of the owner's
  // top left corner, in front, not modal, painted at once.
  void Show(HWND owner, int dpiX, int dpiY);
  void Hide();

  void ApplyFormFonts(const shell::LanguageFont& font) override;
  void AutoInit() override;
  void RepaintControls() override;

 private:
  void Load(HWND owner, int dpiX, int dpiY);

  HINSTANCE instance_;
  shell::Localizer& localizer_;
  LOGFONTW designFont_;
  UniqueFont font_;
  HWND window_ = nullptr;
  HWND label_ = nullptr;
};

}  // namespace fernwick::win32
