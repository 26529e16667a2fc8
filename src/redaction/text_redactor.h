#pragma once
// Replaces, in text of the ANSI code page, every name the map knows and
// every address, e-mail address, UNC host and DNS name under a known
// domain it finds, with their pseudonyms. Found names enter the map first,
// so that they are replaced the same way everywhere else.
#include <string>
#include <string_view>
#include <unordered_map>

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

  // Registry exports, answers.txt and versions.txt write each backslash
  // twice: a UNC path's "\\" is four there.
  void SetBackslashesDoubled(bool doubled) { doubled_ = doubled; }

  const RedactionMap& Map() const { return map_; }

 private:
  std::string Run(std::string_view text, bool replace);
  // Each returns the length it consumed at `i` (0: no match there).
  std::size_t Address(std::string_view text, std::size_t i, std::string& out, bool replace);
  std::size_t Name(std::string_view text, std::size_t i, std::string& out, bool replace);
  void DiscoverAround(std::string_view text, std::size_t i, std::size_t wordEnd);

  RedactionMap& map_;
  bool doubled_ = false;
  std::string lower_, key_;  // scratch
  // Dotted names already looked at, with the map's domain count then: looked
  // at again only once a domain has joined.
  std::unordered_map<std::string, std::size_t> dottedSeen_;
};

// The pseudonym in the case of the original it replaces.
std::string InCaseOf(std::string_view original, std::string_view pseudonym);

}  // namespace fernwick::redaction
