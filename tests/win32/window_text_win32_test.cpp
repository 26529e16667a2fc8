// Window texts that are not translations are ANSI: what VerLanguageNameA
// answers on a French (1252) or a Japanese (932) system reaches the window
// as the system meant it, double-byte characters and all.
#include <gtest/gtest.h>

#include "platform/win32/win32_language_libraries.h"

namespace fernwick::win32 {
namespace {

TEST(WindowTextWin32, LanguageNamesInCodePages1252And932ReadRight) {
  struct Row {
    unsigned codePage;
    const char* ansi;
    const wchar_t* wide;
  };
  const Row table[] = {
      {1252, "Anglais (\xC9tats-Unis)", L"Anglais (\u00C9tats-Unis)"},
      {932, "\x89\x70\x8C\xEA (\x95\xC4\x8D\x91)", L"\u82F1\u8A9E (\u7C73\u56FD)"},
      {932, "\x93\xFA\x96\x7B\x8C\xEA", L"\u65E5\u672C\u8A9E"},  // 0x7B here is a trail byte, not '{'
  };
  for (const auto& row : table) {
    EXPECT_EQ(WideFromCodePage(row.ansi, row.codePage), row.wide) << row.ansi;
  }
}

}  // namespace
}  // namespace fernwick::win32
