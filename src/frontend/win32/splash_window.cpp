#include "frontend/win32/splash_window.h"

#include "frontend/win32/language_font.h"

namespace fernwick::win32 {
namespace {

constexpr const char* kSplashClass = "FernwickSplashScreen";
constexpr const char* kGathering = "Gathering data, please wait...";
constexpr int kTwipsPerInch = 1440;
constexpr int kTopOffsetTwips = 2800;
constexpr int kLeftOffsetTwips = 700;
constexpr int kWidthTwips = 4800;
constexpr int kHeightTwips = 1300;

}  // namespace

SplashWindow::~SplashWindow() {
  localizer_.RemoveWindow(*this);
  if (window_ != nullptr) DestroyWindow(window_);
}

void SplashWindow::Load(HWND owner, int dpiX, int dpiY) {
  const auto x = [&](int twips) { return MulDiv(twips, dpiX, kTwipsPerInch); };
  const auto y = [&](int twips) { return MulDiv(twips, dpiY, kTwipsPerInch); };
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
  CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, x(120), y(60), x(kWidthTwips - 270),
                  y(kHeightTwips - 180), window_, nullptr, instance_, nullptr);
  label_ = CreateWindowExA(0, "STATIC", kGathering, WS_CHILD | WS_VISIBLE | SS_CENTER, x(360), y(500),
                           x(kWidthTwips - 750), y(300), window_, nullptr, instance_, nullptr);
  // Loaded after the language choice, it starts in the font and texts the
  // other windows already show.
  localizer_.AddWindow(*this);
  ApplyFormFonts(shell::FontForLanguage(localizer_.CurrentLangID()));
  AutoInit();
}

void SplashWindow::Show(HWND owner, int dpiX, int dpiY) {
  if (window_ == nullptr) Load(owner, dpiX, dpiY);
  if (window_ == nullptr) return;
  RECT main{};
  GetWindowRect(owner, &main);
  SetWindowPos(window_, HWND_TOP, main.left + MulDiv(kLeftOffsetTwips, dpiX, kTwipsPerInch),
               main.top + MulDiv(kTopOffsetTwips, dpiY, kTwipsPerInch), 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  UpdateWindow(window_);
}

void SplashWindow::Hide() {
  if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
}

void SplashWindow::ApplyFormFonts(const shell::LanguageFont& font) {
  if (HFONT created = win32::ApplyFormFonts(window_, designFont_, font)) font_.Reset(created);
}

void SplashWindow::AutoInit() {
  SetControlText(label_, &localizer_, kGathering);
}

void SplashWindow::RepaintControls() {
  RepaintWindow(window_);
}

}  // namespace fernwick::win32
