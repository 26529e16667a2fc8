#include "platform/win32/win32_language_libraries.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/win32_handles.h"

namespace fernwick::win32 {

namespace {
constexpr DWORD kLoadAsDataFile = DONT_RESOLVE_DLL_REFERENCES | LOAD_LIBRARY_AS_DATAFILE;  // 3
}

std::wstring WideFromCodePage(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::wstring WideFromAnsi(std::string_view text) {
  return WideFromCodePage(text, CP_ACP);
}

std::wstring WideFromUtf8(const std::string& text) {
  return WideFromCodePage(text, CP_UTF8);
}

std::string Utf8FromWide(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

std::uint16_t Win32LanguageLibraries::UserDefaultLangID() {
  return GetUserDefaultLangID();
}

std::string Win32LanguageLibraries::ProgramName() {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string name(buffer, length < MAX_PATH ? length : MAX_PATH);
  const auto slash = name.find_last_of('\\');
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::vector<std::string> Win32LanguageLibraries::FileNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data{};
  UniqueFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
  if (!find.Valid()) return names;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(data.cFileName);
  } while (FindNextFileA(find.Get(), &data) != FALSE);
  return names;
}

std::uintptr_t Win32LanguageLibraries::LoadAsDataFile(const std::string& path) {
  // The path is ANSI; the wide form reaches folders with any name.
  return reinterpret_cast<std::uintptr_t>(LoadLibraryExW(WideFromAnsi(path).c_str(), nullptr, kLoadAsDataFile));
}

void Win32LanguageLibraries::Free(std::uintptr_t library) {
  if (library != 0) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

std::optional<std::string> Win32LanguageLibraries::LoadText(std::uintptr_t library, unsigned id) {
  wchar_t buffer[1024] = {};
  const int length = LoadStringW(reinterpret_cast<HMODULE>(library), id, buffer, 1024);
  if (length <= 0) return std::nullopt;
  return Utf8FromWide(buffer, length);
}

}  // namespace fernwick::win32
