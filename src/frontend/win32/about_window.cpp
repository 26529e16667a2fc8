#include "frontend/win32/about_window.h"

#include <ocidl.h>
#include <olectl.h>

#include "frontend/win32/about_ids.h"
#include "frontend/win32/language_font.h"
#include "shell/window_texts.h"

namespace fernwick::win32 {
namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 300;

// The GIF logo is RCDATA: GDI draws no GIF, the OLE picture loader does.
HBITMAP LoadGifLogo(HINSTANCE instance) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(FERNWICK_LOGO_GIF), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (found == nullptr) return nullptr;
  const DWORD size = SizeofResource(instance, found);
  const void* bytes = LockResource(LoadResource(instance, found));
  if (bytes == nullptr || size == 0) return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  if (void* target = GlobalLock(memory)) {
    CopyMemory(target, bytes, size);
    GlobalUnlock(memory);
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HBITMAP copy = nullptr;
  if (SUCCEEDED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, __uuidof(IPicture),
                               reinterpret_cast<void**>(&picture)))) {
    OLE_HANDLE handle = 0;
    SHORT type = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle))) {
      // The picture owns its bitmap; the window keeps a copy of its own.
      copy = static_cast<HBITMAP>(
          CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
    }
    picture->Release();
  }
  stream->Release();
  return copy;
}

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, HWND owner, shell::Localizer& localizer, platform::ProgramFacts& program,
                         platform::UserInterface& ui, MessageBoxes& boxes)
    : instance_(instance), owner_(owner), localizer_(localizer), ui_(ui), presenter_(localizer, program, boxes) {}

AboutWindow::~AboutWindow() {
  localizer_.RemoveWindow(*this);
  if (window_ != nullptr) DestroyWindow(window_);
  if (languageMenu_ != nullptr) DestroyMenu(languageMenu_);
  if (logo_ != nullptr) DeleteObject(logo_);
  if (gifLogo_ != nullptr) DeleteObject(gifLogo_);
}

void AboutWindow::ShowModal() {
  if (window_ == nullptr) Load();
  if (window_ == nullptr) return;
  EnableWindow(owner_, FALSE);
  visible_ = true;
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  MSG message{};
  while (visible_) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));  // the main loop ends the program
      break;
    }
    if (IsDialogMessageA(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  EnableWindow(owner_, TRUE);
  SetActiveWindow(owner_);
}

void AboutWindow::Load() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &AboutWindow::WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = FERNWICK_ABOUT_CLASS;
  RegisterClassA(&windowClass);
  RECT owner{};
  GetWindowRect(owner_, &owner);
  window_ = CreateWindowExA(WS_EX_DLGMODALFRAME, FERNWICK_ABOUT_CLASS, "Fernwick", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                            owner.left + 40, owner.top + 40, kWidth, kHeight, owner_, nullptr, instance_, this);
  if (window_ == nullptr) return;
  localizer_.AddWindow(*this);
  presenter_.FormLoad();
  SetControlText(GetDlgItem(window_, FERNWICK_ABOUT_VERSION), &localizer_, presenter_.Version());
  BuildLanguageMenu();
}

HWND AboutWindow::Label(int id, const std::string& text, int left, int top, int width, int height, DWORD extraStyle) {
  HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | extraStyle, left, top, width, height,
                               window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return label;
}

void AboutWindow::CreateControls() {
  HDC screen = GetDC(nullptr);
  const int dpiY = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  designFont_ = LOGFONTW{};
  designFont_.lfHeight = -MulDiv(8, dpiY, 72);
  designFont_.lfWeight = FW_NORMAL;
  designFont_.lfCharSet = DEFAULT_CHARSET;
  designFont_.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  wcscpy(designFont_.lfFaceName, L"MS Sans Serif");
  font_.Reset(CreateFontIndirectW(&designFont_));

  logo_ = static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(FERNWICK_LOGO_BITMAP), IMAGE_BITMAP, 0, 0, 0));
  HWND logo = Label(FERNWICK_ABOUT_LOGO, "", 12, 12, 64, 64, SS_BITMAP);
  SendMessageA(logo, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_));
  gifLogo_ = LoadGifLogo(instance_);
  HWND gif = Label(FERNWICK_ABOUT_LOGO_GIF, "", 290, 12, 112, 40, SS_BITMAP);
  SendMessageA(gif, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(gifLogo_));

  Label(FERNWICK_ABOUT_VERSION_TITLE, "Version:", 90, 20, 90, 16);
  Label(FERNWICK_ABOUT_VERSION, "", 180, 20, 100, 16);
  for (std::size_t i = 0; i < shell::kLegalNotices.size(); ++i) {
    Label(FERNWICK_ABOUT_NOTICE_1 + static_cast<int>(i), std::string(shell::kLegalNotices[i]), 12,
          90 + static_cast<int>(i) * 22, 390, 18);
  }
  Label(FERNWICK_ABOUT_CHANGE_LANGUAGE, "Change Language", 12, 222, 150, 18, SS_NOTIFY);
  HWND ok =
      CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 310, 218, 92, 26,
                      window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(FERNWICK_ABOUT_OK)), instance_, nullptr);
  SendMessageA(ok, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

void AboutWindow::BuildLanguageMenu() {
  // mnuSelectLanguage: never in a menu bar, popped up by "Change Language".
  if (languageMenu_ != nullptr) DestroyMenu(languageMenu_);
  languageMenu_ = CreatePopupMenu();
  const auto& items = presenter_.LanguageMenu();
  for (std::size_t i = 0; i < items.size(); ++i) {
    // The platform's language names are ANSI, in the system's code page.
    const std::wstring caption = WindowText(&localizer_, items[i].caption);
    AppendMenuW(languageMenu_, MF_STRING, FERNWICK_ABOUT_LANGUAGE_ITEM + i, caption.c_str());
  }
}

void AboutWindow::OnCommand(int id, int notification) {
  if (id == FERNWICK_ABOUT_OK || id == IDCANCEL) {
    ShowWindow(window_, SW_HIDE);
    visible_ = false;
  } else if (id == FERNWICK_ABOUT_CHANGE_LANGUAGE && notification == STN_CLICKED) {
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(languageMenu_, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, window_, nullptr);
  } else if (id >= FERNWICK_ABOUT_LANGUAGE_ITEM &&
             id < FERNWICK_ABOUT_LANGUAGE_ITEM + static_cast<int>(presenter_.LanguageMenu().size())) {
    ui_.SetWaitPointer(true);
    presenter_.LanguageChosen(static_cast<std::size_t>(id - FERNWICK_ABOUT_LANGUAGE_ITEM));
    ui_.SetWaitPointer(false);
  }
}

void AboutWindow::ApplyFormFonts(const shell::LanguageFont& font) {
  if (HFONT created = win32::ApplyFormFonts(window_, designFont_, font)) font_.Reset(created);
}

void AboutWindow::AutoInit() {
  const auto set = [this](int id, std::string_view english) {
    SetControlText(GetDlgItem(window_, id), &localizer_, std::string(english));
  };
  set(FERNWICK_ABOUT_VERSION_TITLE, "Version:");
  set(FERNWICK_ABOUT_CHANGE_LANGUAGE, "Change Language");
  set(FERNWICK_ABOUT_OK, "OK");
  for (std::size_t i = 0; i < shell::kLegalNotices.size(); ++i) {
    set(FERNWICK_ABOUT_NOTICE_1 + static_cast<int>(i), shell::kLegalNotices[i]);
  }
  BuildLanguageMenu();
}

void AboutWindow::RepaintControls() {
  RepaintWindow(window_);
}

LRESULT CALLBACK AboutWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<AboutWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return self != nullptr ? self->Handle(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT AboutWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: CreateControls(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CLOSE:
      ShowWindow(window_, SW_HIDE);
      visible_ = false;
      return 0;
    default: return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace fernwick::win32
