#include "platform/win32/win32_code_pages.h"

#include "platform/win32/windows_api.h"

namespace fernwick::win32 {

std::uint32_t Win32CodePages::AnsiCodePage() {
  return GetACP();
}

std::optional<std::string> Win32CodePages::ToUtf8(std::string_view text, std::uint32_t codePage) {
  if (!IsValidCodePage(codePage)) return std::nullopt;
  if (text.empty()) return std::string();
  const int inLength = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(codePage, 0, text.data(), inLength, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), inLength, wide.data(), wideLength);
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

}  // namespace fernwick::win32
