#pragma once
#include "platform/win32/windows_api.h"

#include <array>
#include <string>

#include "platform/win32/win32_handles.h"
#include "shell/about_presenter.h"

namespace fernwick::win32 {

// frmAbout: version, notices, logos and the language choice. Loaded once,
// hidden by OK, shown again as it was.
class AboutWindow : public shell::LocalizedWindow {
 public:
  AboutWindow(HINSTANCE instance, HWND owner, shell::Localizer& localizer, platform::ProgramFacts& program,
              platform::UserInterface& ui, MessageBoxes& boxes);
  ~AboutWindow() override;
  AboutWindow(const AboutWindow&) = delete;
  AboutWindow& operator=(const AboutWindow&) = delete;

  // Shows the window and returns when it is hidden again; the owner takes
  // no input meanwhile.
  void ShowModal();

  void ApplyFormFonts(const shell::LanguageFont& font) override;
  void AutoInit() override;  // frmAbout_Auto_Init
  void RepaintControls() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Load();
  void CreateControls();
  void BuildLanguageMenu();
  void OnCommand(int id, int notification);
  HWND Label(int id, const std::string& text, int left, int top, int width, int height, DWORD extraStyle = 0);

  HINSTANCE instance_;
  HWND owner_;
  shell::Localizer& localizer_;
  platform::UserInterface& ui_;
  shell::AboutPresenter presenter_;
  HWND window_ = nullptr;
  HMENU languageMenu_ = nullptr;
  UniqueFont font_;
  LOGFONTW designFont_{};
  HBITMAP logo_ = nullptr;
  HBITMAP gifLogo_ = nullptr;
  bool visible_ = false;
};

}  // namespace fernwick::win32
