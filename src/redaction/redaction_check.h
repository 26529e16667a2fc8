#pragma once
// The check every redacted file passes before a cabinet is made of it: no
// original the map holds (names, keywords, addresses) may stand in it, in
// any encoding the package uses. The file is read as characters, not bytes:
// as ANSI text of the report's code page and as UTF-8 (or as UTF-16LE),
// each also with HTML entities undone, letters compared without regard to
// case.
//
// The rule: an original is found wherever it stands and is neither
// preceded nor followed by a letter or digit of its own script (digits
// count as Latin). So "VOXTRA01_2026", "<katakana>VOXTRA01",
// "10.20.1.11:1433" and "CORP-DC01" hold an original, while "CORP" inside
// "CORPORATION" and "VOXTRA01" inside "VOXTRA012" do not.
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "redaction/redaction_map.h"

namespace fernwick::redaction {

class RedactionCheck {
 public:
  // Text of the ANSI code page as UTF-8; nullopt when the code page is not
  // known (then each byte stands for the character of its value).
  using ToUtf8 = std::function<std::optional<std::string>(std::string_view)>;

  // The originals of the map as it stands; `toUtf8` reads them and the files.
  RedactionCheck(const RedactionMap& map, ToUtf8 toUtf8);

  // The kind of an original found in the file's name or its bytes.
  std::optional<Kind> Find(std::string_view name, std::string_view bytes);
  // The same for one piece of a big ANSI file, cut at a line end.
  std::optional<Kind> FindInPiece(std::string_view piece);

  // How many spellings of originals are looked for.
  std::size_t Originals() const { return originals_; }

 private:
  void AddNeedle(std::string_view ansi, Kind kind);
  void AddFolded(const std::u32string& folded, Kind kind);
  std::optional<Kind> FindInText(std::string_view bytes, bool utf16);
  // Folds the letters' case as it reads.
  template <typename Text>
  std::optional<Kind> Scan(const Text& text) const;
  std::u32string Decode(std::string_view ansi) const;

  ToUtf8 toUtf8_;
  // A trie of the folded originals: edges keyed by node and character.
  std::unordered_map<std::uint64_t, std::uint32_t> edges_;
  std::array<std::uint32_t, 128> rootAscii_{};  // the root's edges for ASCII (0: none)
  std::vector<int> ends_;                       // per node: the kind of an original ending there, or -1
  std::bitset<0x10000> firsts_;                 // characters below 0x10000 an original begins with
  std::size_t originals_ = 0;
};

// The characters of UTF-8 text (an invalid byte stands for itself) and of
// UTF-16LE bytes (an odd last byte dropped).
std::u32string Utf8Characters(std::string_view utf8);
std::u32string Utf16Characters(std::string_view bytes);
// True when the bytes hold a non-ASCII character and are valid UTF-8.
bool IsNonAsciiUtf8(std::string_view bytes);
// The text with HTML character references undone (&amp;, &#233;, &#xE9;).
std::u32string WithoutEntities(const std::u32string& text);
// Lower case for the scripts a server's names are written in (Latin,
// Greek, Cyrillic, full-width Latin).
char32_t FoldCase(char32_t c);
// 0 for a character that is no letter or digit; else its script.
int ScriptOf(char32_t c);

}  // namespace fernwick::redaction
