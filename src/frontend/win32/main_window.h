#pragma once
#include "platform/win32/windows_api.h"

#include <array>
#include <memory>

#include "frontend/win32/about_window.h"
#include "frontend/win32/splash_window.h"
#include "frontend/win32/win32_platform.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_language_libraries.h"
#include "shell/localize.h"
#include "shell/main_presenter.h"

namespace fernwick::win32 {

// frmMain: the Win32 window that carries the presenter's controls.
class MainWindow : public shell::MainView, public shell::LocalizedWindow {
 public:
  MainWindow(HINSTANCE instance, Win32Platform& platform);
  ~MainWindow() override;

  // Creates the window hidden and runs start-up; returns the exit code when
  // the program ends during start-up, or -1 when the window is to be shown.
  int Start(int showCommand);
  int RunMessageLoop();

  void SetText(shell::Control control, const std::string& text) override;
  std::string Text(shell::Control control) override;
  void SetEnabled(shell::Control control, bool enabled) override;
  void Place(shell::Control control, const shell::TwipRect& rect) override;
  void SetWindowSize(std::optional<int> width, std::optional<int> height) override;
  void ShowSplash(bool shown) override;

  void ApplyFormFonts(const shell::LanguageFont& font) override;
  void AutoInit() override;  // frmMain_Auto_Init
  void RepaintControls() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void CreateMenus();
  void OnCommand(int id);
  void ShowAbout();
  void OnSize(WPARAM kind);
  HWND ControlWindow(shell::Control control) const;
  int ToPixelsX(int twips) const;
  int ToPixelsY(int twips) const;
  int ToTwipsX(int pixels) const;
  int ToTwipsY(int pixels) const;

  HINSTANCE instance_;
  Win32Platform& platform_;
  HWND window_ = nullptr;
  std::array<HWND, 8> controls_{};
  UniqueFont font_;
  int dpiX_ = 96;
  int dpiY_ = 96;
  std::unique_ptr<shell::MainPresenter> presenter_;
  // The texts the window was given, in English; shown translated when the
  // chosen language library has them.
  std::array<std::string, 8> texts_{};
  LOGFONTW designFont_{};
  Win32LanguageLibraries languageLibraries_;
  std::unique_ptr<MessageBoxes> boxes_;
  std::unique_ptr<shell::Localizer> localizer_;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<SplashWindow> splash_;
};

}  // namespace fernwick::win32
