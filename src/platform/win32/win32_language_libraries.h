#pragma once
// Language libraries through kernel32: LoadLibraryExW as a data file,
// LoadStringW, GetUserDefaultLangID, and the program folder's listing.
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

// UTF-8 to UTF-16 and back, for window texts.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text, int length);

}  // namespace fernwick::win32
