#include "frontend/win32/splash_window.h"

#include <initializer_list>

namespace fernwick::win32 {
namespace {

constexpr const char* kSplashClass = "FernwickSplashScreen";
constexpr int kTwipsPerInch = 1440;
constexpr int kTopOffsetTwips = 2800;
constexpr int kLeftOffsetTwips = 700;
constexpr int kWidthTwips = 4800;
constexpr int kHeightTwips = 1300;

}  // namespace

SplashWindow::~SplashWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void SplashWindow::Show(HWND owner, int dpiX, int dpiY) {
  const auto x = [&](int twips) { return MulDiv(twips, dpiX, kTwipsPerInch); };
  const auto y = [&](int twips) { return MulDiv(twips, dpiY, kTwipsPerInch); };
  if (window_ == nullptr) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursor(nullptr, IDC_WAIT);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kSplashClass;
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP | WS_BORDER, 0, 0, x(kWidthTwips),
                              y(kHeightTwips), owner, nullptr, instance_, nullptr);
    if (window_ == nullptr) return;
    HWND frame = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, x(120), y(60),
                                 x(kWidthTwips - 270), y(kHeightTwips - 180), window_, nullptr, instance_, nullptr);
    HWND label = CreateWindowExA(0, "STATIC", "Gathering data, please wait...", WS_CHILD | WS_VISIBLE | SS_CENTER,
                                 x(360), y(500), x(kWidthTwips - 750), y(300), window_, nullptr, instance_, nullptr);
    for (HWND control : {frame, label}) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  RECT main{};
  GetWindowRect(owner, &main);
  SetWindowPos(window_, HWND_TOP, main.left + x(kLeftOffsetTwips), main.top + y(kTopOffsetTwips), 0, 0,
               SWP_NOSIZE | SWP_SHOWWINDOW);
  UpdateWindow(window_);
}

void SplashWindow::Hide() {
  if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
}

}  // namespace fernwick::win32
