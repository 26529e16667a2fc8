#pragma once
// Replaces, in text of the ANSI code page, every name the map knows and
// every address, e-mail address, UNC host and DNS name under a known
// domain it finds, with their pseudonyms. Found names enter the map first,
// so that they are replaced the same way everywhere else.
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "redaction/redaction_map.h"

namespace fernwick::redaction {

class TextRedactor {
 public:
  explicit TextRedactor(RedactionMap& map) : map_(map) {}

  // The text with every original replaced. Names are matched as whole
  // words, without regard to case; a pseudonym takes the original's case
  // where it was all lower case, else stays upper case.
  std::string Redact(std::string_view text);

  // Finds the addresses and names of the patterns in `text` and enters them
  // into the map, without replacing anything.
  void Discover(std::string_view text) { (void)Run(text, false); }

  // Learns what Discover learns of names, at a fraction of its cost: it
  // looks only where an "@", a "\" or a "." stands (e-mail addresses, UNC
  // hosts, "DOMAIN\user", DNS names under a known domain) and leaves the
  // addresses, which are replaced wherever they stand, for Redact. For text
  // too big to be read twice in full: the event logs.
  void Collect(std::string_view text);

  // Registry exports, answers.txt and versions.txt write each backslash
  // twice: a UNC path's "\\" is four there.
  void SetBackslashesDoubled(bool doubled) { doubled_ = doubled; }

  // The ANSI code page of the text: in a double-byte one (932, 936, 949,
  // 950) a lead byte and the byte after it are one character.
  void SetCodePage(std::uint32_t codePage);
  // False while the text is no ANSI text (UTF-8, UTF-16 read as bytes).
  void ReadAsAnsi(bool ansi) {
    ansi_ = ansi;
    leadBytes_ = ansi ? ansiLeadBytes_ : std::bitset<256>();
  }
  bool ReadingAnsi() const { return ansi_; }

  const RedactionMap& Map() const { return map_; }

 private:
  std::string Run(std::string_view text, bool replace);
  // Each returns the length it consumed at `i` (0: no match there).
  std::size_t Address(std::string_view text, std::size_t i, std::string& out, bool replace);
  std::size_t Name(std::string_view text, std::size_t i, std::string& out, bool replace, bool discover);
  // The longest original of the map that begins with `firstWord` (lower
  // case) and stands at i.
  std::size_t Match(std::string_view text, std::size_t i, const std::string& firstWord, std::string& out, bool replace);
  std::size_t OtherMac(std::string_view text, std::size_t i, std::string& out, bool replace);
  std::size_t Mac(std::string_view text, std::size_t i, const std::vector<std::uint8_t>& mac, std::size_t length,
                  char separator, std::string& out, bool replace);
  void DiscoverAround(std::string_view text, std::size_t i, std::size_t wordEnd);
  // "DOMAIN\user" after a known domain: the user at j is an account.
  void AccountAt(std::string_view text, std::size_t j);
  // The account a profile folder names, the folder starting at i.
  void ProfileAt(std::string_view text, std::size_t i);

  RedactionMap& map_;
  bool doubled_ = false;
  std::bitset<256> ansiLeadBytes_, leadBytes_;
  bool ansi_ = true;
  std::string lower_, key_;  // scratch
  // Dotted names already looked at, with the map's domain count then: looked
  // at again only once a domain has joined.
  static constexpr std::size_t kDottedSeenLimit = 1 << 16;
  std::unordered_map<std::string, std::size_t> dottedSeen_;
  std::string lastDotted_;  // the dotted name looked at last, as it stood
  std::size_t lastDottedDomains_ = 0;
};

// The pseudonym in the case of the original it replaces.
std::string InCaseOf(std::string_view original, std::string_view pseudonym);

}  // namespace fernwick::redaction
