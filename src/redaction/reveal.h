#pragma once
// The customer's side of a redaction: a vendor's reply or report that
// names the pseudonyms of a redacted package, read with the site's own
// names again through the map (RedactionMap.txt) that stayed on the server.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "redaction/redaction_map.h"

namespace fernwick::redaction {

class Revealer {
 public:
  explicit Revealer(const RedactionMap& map);

  // The text with each pseudonym of the map replaced by its original,
  // matched in any letter case wherever no letter or digit continues it
  // (an address of a pseudonym subnet not in the map gets its original
  // subnet back); the original is written in lower case where the
  // pseudonym was.
  std::string Reveal(std::string_view text) const;
  // A whole file: ANSI or UTF-8 text, or UTF-16LE.
  std::string RevealFileBytes(std::string_view bytes) const;

 private:
  struct Spelling {
    std::string pseudonym;  // lower case
    std::string original;
  };
  void Add(std::string_view pseudonym, const std::string& original);
  std::size_t Match(std::string_view text, std::size_t i, std::string& out) const;

  std::vector<Spelling> spellings_;
  // By the first run of letters and digits, longest first.
  std::unordered_map<std::string, std::vector<std::size_t>> byFirstWord_;
  // Pseudonym /24 (its first three numbers and a dot) -> the original's.
  std::unordered_map<std::string, std::string> subnets_;
};

}  // namespace fernwick::redaction
