#include "frontend/win32/main_window.h"

#include <cstdio>
#include <vector>

#include "frontend/win32/control_ids.h"
#include "frontend/win32/language_font.h"
#include "shell/help_launch.h"
#include "shell/main_window_layout.h"
#include "shell/update_check.h"
#include "shell/window_texts.h"

namespace fernwick::win32 {
namespace {

using shell::Control;
using shell::ControlKind;
using shell::MenuCommand;

// The window's outer size at design time: the size at which the resize
// rules give every control its design position.
constexpr int kDesignWidthTwips = 6600;
constexpr int kDesignHeightTwips = 6900;
constexpr int kTwipsPerInch = 1440;

int ControlId(Control control) {
  return FERNWICK_CONTROL_ID_BASE + static_cast<int>(control);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Win32Platform& platform) : instance_(instance), platform_(platform) {}

MainWindow::~MainWindow() {
  about_.reset();
  if (localizer_) localizer_->RemoveWindow(*this);
}

int MainWindow::ToPixelsX(int twips) const {
  return MulDiv(twips, dpiX_, kTwipsPerInch);
}
int MainWindow::ToPixelsY(int twips) const {
  return MulDiv(twips, dpiY_, kTwipsPerInch);
}
int MainWindow::ToTwipsX(int pixels) const {
  return MulDiv(pixels, kTwipsPerInch, dpiX_);
}
int MainWindow::ToTwipsY(int pixels) const {
  return MulDiv(pixels, kTwipsPerInch, dpiY_);
}

HWND MainWindow::ControlWindow(Control control) const {
  return controls_[static_cast<std::size_t>(control)];
}

int MainWindow::Start(int showCommand) {
  if (HDC screen = GetDC(nullptr)) {
    dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
    dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &MainWindow::WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = FERNWICK_MAIN_CLASS;
  RegisterClassA(&windowClass);

  const std::string caption(shell::kMainWindowCaption);
  window_ =
      CreateWindowExA(0, FERNWICK_MAIN_CLASS, caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                      ToPixelsX(kDesignWidthTwips), ToPixelsY(kDesignHeightTwips), nullptr, nullptr, instance_, this);
  if (window_ == nullptr) return 1;
  platform_.Ui().SetOwner(window_);
  presenter_ = std::make_unique<shell::MainPresenter>(platform_.Get(), *this);
  boxes_ = std::make_unique<MessageBoxes>(platform_.Get().ui, presenter_->RunSession());
  localizer_ = std::make_unique<shell::Localizer>(
      shell::LocalizeServices{languageLibraries_, platform_.Get().versions, platform_.Get().program, *boxes_});
  localizer_->AddWindow(*this);

  switch (presenter_->FormLoad()) {
    case shell::StartupOutcome::EndProgram: DestroyWindow(window_); return presenter_->PackagingExitCode();
    case shell::StartupOutcome::Failed:
      if (!presenter_->RunSession().bSilentMode) {
        platform_.Get().ui.MessageBox(presenter_->StartupError(), "Fernwick", MB_OK | MB_ICONERROR);
      }
      DestroyWindow(window_);
      return 1;
    case shell::StartupOutcome::Busy:
      // The box was shown in a visible run; a silent caller reads the code
      // and standard error (the other run's record is not ours to touch).
      std::fprintf(stderr, "Fernwick: %s\n", presenter_->StartupError().c_str());
      DestroyWindow(window_);
      return shell::exit_code::kAnotherRun;
    case shell::StartupOutcome::ShowWindow: break;
  }
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  return -1;
}

int MainWindow::RunMessageLoop() {
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

void MainWindow::CreateControls() {
  // The window was laid out in MS Sans Serif 8; wider fonts cut the label.
  font_.Reset(CreateFontA(-MulDiv(8, dpiY_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                          "MS Sans Serif"));
  if (font_.Get() != nullptr) GetObjectW(font_.Get(), sizeof designFont_, &designFont_);
  const auto font = reinterpret_cast<WPARAM>(font_.Get() != nullptr ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
  for (const auto& design : shell::kMainWindowControls) {
    const char* className = "EDIT";
    DWORD style = WS_CHILD | WS_TABSTOP;
    DWORD exStyle = 0;
    switch (design.kind) {
      case ControlKind::TextBox:
        style |= ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case ControlKind::MultiLineTextBox:
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case ControlKind::Label:
        className = "STATIC";
        style = WS_CHILD;
        break;
      case ControlKind::Button:
        className = "BUTTON";
        style |= BS_PUSHBUTTON;
        break;
    }
    if (design.visible) {
      style |= WS_VISIBLE;
    } else {
      style &= ~static_cast<DWORD>(WS_TABSTOP);
    }
    if (!design.enabled) style |= WS_DISABLED;
    const std::string text(design.text);
    HWND control = CreateWindowExA(
        exStyle, className, text.c_str(), style, ToPixelsX(design.rect.left), ToPixelsY(design.rect.top),
        ToPixelsX(design.rect.width), ToPixelsY(design.rect.height), window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(design.id))), instance_, nullptr);
    SendMessageA(control, WM_SETFONT, font, FALSE);
    controls_[static_cast<std::size_t>(design.id)] = control;
    texts_[static_cast<std::size_t>(design.id)] = text;
  }
  // The report has no length limit of its own.
  SendMessageA(ControlWindow(Control::txtMain), EM_SETLIMITTEXT, 0, 0);
  SendMessageA(ControlWindow(Control::bufferTextMain), EM_SETLIMITTEXT, 0, 0);
}

void MainWindow::CreateMenus() {
  // Built anew after a language choice, in the chosen language.
  const auto item = [this](HMENU menu, UINT flags, UINT_PTR id, const char* english) {
    AppendMenuW(menu, flags, id, WindowText(localizer_.get(), english).c_str());
  };
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  item(file, MF_STRING, static_cast<UINT_PTR>(MenuCommand::mnuPasteToClipboard), "Paste to Clipboard");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);  // seperator2
  item(file, MF_STRING, static_cast<UINT_PTR>(MenuCommand::mnuExit), "Exit");
  HMENU help = CreatePopupMenu();
  item(help, MF_STRING, static_cast<UINT_PTR>(MenuCommand::mnuShowHelp), "Help");
  AppendMenuA(help, MF_SEPARATOR, 0, nullptr);  // seperator
  item(help, MF_STRING, static_cast<UINT_PTR>(MenuCommand::mnuAbout), "About");
  item(help, MF_STRING, static_cast<UINT_PTR>(MenuCommand::mnuCheckForUpdatedVersion), "Check for updated version");
  item(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
  item(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "Help");
  HMENU old = GetMenu(window_);
  SetMenu(window_, bar);
  if (old != nullptr) DestroyMenu(old);
}

void MainWindow::ShowAbout() {
  if (!about_) {
    about_ = std::make_unique<AboutWindow>(instance_, window_, *localizer_, platform_.Get().program, platform_.Get().ui,
                                           *boxes_);
  }
  about_->ShowModal();
}

void MainWindow::ApplyFormFonts(const shell::LanguageFont& font) {
  if (HFONT created = win32::ApplyFormFonts(window_, designFont_, font)) font_.Reset(created);
}

void MainWindow::AutoInit() {
  for (const auto& design : shell::kMainWindowControls) {
    const auto& text = texts_[static_cast<std::size_t>(design.id)];
    // Only the window's own captions; the report box keeps what it holds.
    if (shell::TextIdOf(text)) SetControlText(ControlWindow(design.id), localizer_.get(), text);
  }
  CreateMenus();
}

void MainWindow::RepaintControls() {
  for (HWND control : controls_) InvalidateRect(control, nullptr, TRUE);
  DrawMenuBar(window_);
}

void MainWindow::OnCommand(int id) {
  if (id == ControlId(Control::cmdGoTorb)) {
    if (presenter_->GoClick() == shell::GoOutcome::EndProgram) DestroyWindow(window_);
  } else if (id == ControlId(Control::cmdExit) || id == static_cast<int>(MenuCommand::mnuExit)) {
    DestroyWindow(window_);
  } else if (id == static_cast<int>(MenuCommand::mnuPasteToClipboard)) {
    presenter_->PasteToClipboard();
  } else if (id == static_cast<int>(MenuCommand::mnuAbout)) {
    ShowAbout();
  } else if (id == static_cast<int>(MenuCommand::mnuShowHelp)) {
    shell::LaunchHelpFile(platform_.Get().ui, platform_.Get().program, *boxes_);
  } else if (id == static_cast<int>(MenuCommand::mnuCheckForUpdatedVersion)) {
    shell::CheckForUpdatedVersion({platform_.Get().internet, platform_.Get().ui, platform_.Get().program, *boxes_});
  } else if (id == ControlId(Control::cmdBrowse)) {
    presenter_->BrowseClick();
  } else if (id == ControlId(Control::cmdWriteToFile)) {
    presenter_->WriteToFileClick();
  }
}

void MainWindow::OnSize(WPARAM kind) {
  if (!presenter_) return;
  RECT outer{};
  GetWindowRect(window_, &outer);
  presenter_->FormResize(ToTwipsX(outer.right - outer.left), ToTwipsY(outer.bottom - outer.top),
                         kind == SIZE_MINIMIZED);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return self != nullptr ? self->Handle(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      CreateMenus();
      return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    case WM_SIZE: OnSize(wParam); return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize.x = ToPixelsX(shell::kMinWindowWidthTwips);
      limits->ptMinTrackSize.y = ToPixelsY(shell::kMinWindowHeightTwips);
      return 0;
    }
    case WM_CLOSE: DestroyWindow(window_); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window_, message, wParam, lParam);
  }
}

void MainWindow::SetText(Control control, const std::string& text) {
  texts_[static_cast<std::size_t>(control)] = text;
  SetControlText(ControlWindow(control), localizer_.get(), text);
}

std::string MainWindow::Text(Control control) {
  HWND window = ControlWindow(control);
  const int length = GetWindowTextLengthA(window);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  const int got = GetWindowTextA(window, buffer.data(), length + 1);
  return std::string(buffer.data(), static_cast<std::size_t>(got));
}

void MainWindow::SetEnabled(Control control, bool enabled) {
  EnableWindow(ControlWindow(control), enabled);
}

void MainWindow::Place(Control control, const shell::TwipRect& rect) {
  MoveWindow(ControlWindow(control), ToPixelsX(rect.left), ToPixelsY(rect.top), ToPixelsX(rect.width),
             ToPixelsY(rect.height), TRUE);
}

void MainWindow::SetWindowSize(std::optional<int> width, std::optional<int> height) {
  RECT outer{};
  GetWindowRect(window_, &outer);
  const int w = width ? ToPixelsX(*width) : outer.right - outer.left;
  const int h = height ? ToPixelsY(*height) : outer.bottom - outer.top;
  SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ShowSplash(bool shown) {
  if (!shown) {
    if (splash_) splash_->Hide();
    return;
  }
  if (!splash_) splash_ = std::make_unique<SplashWindow>(instance_, *localizer_, designFont_);
  splash_->Show(window_, dpiX_, dpiY_);
}

}  // namespace fernwick::win32
