#pragma once
// The system's text for a Win32 error code, for messages on standard error.
#include <string>

#include "platform/win32/windows_api.h"

namespace fernwick::win32 {

inline std::string SystemMessage(DWORD code) {
  char buffer[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.')) text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : text;
}

}  // namespace fernwick::win32
