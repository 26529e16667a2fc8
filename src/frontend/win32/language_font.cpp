#include "frontend/win32/language_font.h"

#include <cwchar>

#include "platform/win32/win32_language_libraries.h"

namespace fernwick::win32 {
namespace {

BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
  SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  return TRUE;
}

BOOL CALLBACK RepaintChild(HWND child, LPARAM) {
  InvalidateRect(child, nullptr, TRUE);
  return TRUE;
}

}  // namespace

void ApplyLanguageFont(LOGFONTW& font, const shell::LanguageFont& language) {
  font.lfCharSet = static_cast<BYTE>(language.charset);
  if (language.faceName.empty()) return;
  const std::wstring face = WideFromUtf8(language.faceName);
  wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  font.lfFaceName[LF_FACESIZE - 1] = L'\0';
}

HFONT ApplyFormFonts(HWND window, const LOGFONTW& design, const shell::LanguageFont& language) {
  LOGFONTW font = design;
  ApplyLanguageFont(font, language);
  HFONT created = CreateFontIndirectW(&font);
  if (created == nullptr) return nullptr;
  EnumChildWindows(window, SetChildFont, reinterpret_cast<LPARAM>(created));
  return created;
}

void RepaintWindow(HWND window) {
  InvalidateRect(window, nullptr, TRUE);
  EnumChildWindows(window, RepaintChild, 0);
}

std::wstring WindowText(const shell::Localizer* localizer, const std::string& text) {
  const auto translation = localizer != nullptr ? localizer->Translation(text) : std::nullopt;
  return translation ? WideFromUtf8(*translation) : WideFromAnsi(text);
}

void SetControlText(HWND control, const shell::Localizer* localizer, const std::string& text) {
  SetWindowTextW(control, WindowText(localizer, text).c_str());
}

}  // namespace fernwick::win32
