#pragma once
// The language choice at a window: every control gets the window's design
// font with the language's character set and face name, and its text in
// the chosen language or, untranslated, in the system's ANSI code page.
#include "platform/win32/windows_api.h"

#include <string>

#include "shell/localize.h"

namespace fernwick::win32 {

// Sets the character set and, when the language names one, the face name.
void ApplyLanguageFont(LOGFONTW& font, const shell::LanguageFont& language);

// Creates the language's variant of `design` and gives it to every child
// control of `window`; returns the new font for the window to own (nullptr
// when it could not be made; the controls then keep theirs).
HFONT ApplyFormFonts(HWND window, const LOGFONTW& design, const shell::LanguageFont& language);

// Asks the window and every control on it to repaint.
void RepaintWindow(HWND window);

// A window text as the window shows it: the chosen language's translation,
// or the text itself in the system's ANSI code page.
std::wstring WindowText(const shell::Localizer* localizer, const std::string& text);
void SetControlText(HWND control, const shell::Localizer* localizer, const std::string& text);

}  // namespace fernwick::win32
