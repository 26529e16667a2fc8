#include "common/ansi_code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace fernwick {
namespace {

// Each invalid sequence becomes one '?' (the longest start of a well-formed
// sequence counts as one), never a NUL or another letter.
TEST(Utf8ToAnsi, EachInvalidSequenceBecomesOneQuestionMark) {
  const struct {
    std::string utf8;
    std::string ansi;
  } cases[] = {
      {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 \x80"},  // valid: e acute, euro sign
      {"\xF0\x9F\x98\x80", "?"},                     // valid, but not in code page 1252
      {"\xE0\x81\x81", "???"},                       // overlong "A"
      {"\xE0\x80\x80", "???"},                       // overlong NUL
      {"\xC0\xAF\xC1\x81", "????"},                  // overlong two-byte forms
      {"\xF0\x80\x80\x81", "????"},                  // overlong four-byte form
      {"\xED\xA0\x80x", "???x"},                     // surrogate
      {"\xF4\x90\x80\x80", "????"},                  // above U+10FFFF
      {"\xF5\x80\x80\xFF", "????"},                  // lead bytes F5 to FF
      {"\xE2\x82", "?"},                             // cut short at the end
      {"\xE2\x82x\xF0\x9F\x98y", "?x?y"},            // cut short inside
      {"\x80\xBF", "??"},                            // stray continuation bytes
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi) << c.utf8;
}

}  // namespace
}  // namespace fernwick
