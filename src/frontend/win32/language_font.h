#pragma once
// The font side of the language choice: every control of a window gets the
// window's design font with the language's character set and face name.
#include "platform/win32/windows_api.h"

#include "shell/localize.h"

namespace fernwick::win32 {

// Sets the character set and, when the language names one, the face name.
void ApplyLanguageFont(LOGFONTW& font, const shell::LanguageFont& language);

// Creates the language's variant of `design` and gives it to every child
// control of `window`; returns the new font for the window to own (nullptr
// when it could not be made; the controls then keep theirs).
HFONT ApplyFormFonts(HWND window, const LOGFONTW& design, const shell::LanguageFont& language);

// Sets a control's text; translated window texts go in as UTF-16.
void SetControlText(HWND control, const shell::Localizer* localizer, const std::string& text);

}  // namespace fernwick::win32
