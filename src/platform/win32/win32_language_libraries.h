#pragma once
// Language libraries through kernel32: LoadLibraryExW as a data file,
// LoadStringW, GetUserDefaultLangID, and the program folder's listing.
#include <string>
#include <string_view>

#include "platform/language_libraries.h"

namespace fernwick::win32 {

class Win32LanguageLibraries : public platform::LanguageLibraries {
 public:
  std::uint16_t UserDefaultLangID() override;
  std::string ProgramName() override;
  std::vector<std::string> FileNames(const std::string& folder) override;
  std::uintptr_t LoadAsDataFile(const std::string& path) override;
  void Free(std::uintptr_t library) override;
  std::optional<std::string> LoadText(std::uintptr_t library, unsigned id) override;
};

// Text in a code page to UTF-16.
std::wstring WideFromCodePage(std::string_view text, unsigned codePage);
// The program's own texts and what the platform's ANSI functions answer
// (language names, paths) are in the system's ANSI code page, never UTF-8.
std::wstring WideFromAnsi(std::string_view text);
// UTF-8 to UTF-16 and back, for the language libraries' texts.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text, int length);

}  // namespace fernwick::win32
