#pragma once
// The redaction map: every original name or address of a package and the
// pseudonym that stands for it, the same everywhere and whatever the letter
// case. Pseudonyms of Windows names are upper-case letters and digits
// (HOST01, DOMAIN02, USER03), so that a report that changes a name's case
// changes its pseudonym's case the same way. The map is kept on the server
// and loaded again by the next run, so that two packages of one site use
// the same pseudonyms.
#include <bitset>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace fernwick::redaction {

enum class Kind {
  Host,     // computer name (a DNS name's first label when it is a host)
  Domain,   // NetBIOS or DNS domain name
  Label,    // a label of a DNS domain that is matched only inside that name
  Account,  // user, service or mailbox account
  Name,     // people, organisations, sites, product ids and other names
  Keyword,  // a word of the keyword file
  IPv4,     // one IPv4 address
  Subnet4,  // the /24 an IPv4 address lies in
  IPv6,     // one IPv6 address
  Prefix6,  // the /64 an IPv6 address lies in
  Mac,      // a MAC address
};

// The kind's name in the map file ("host", "domain", ...).
std::string_view KindName(Kind kind);
// The kind of a map file's name; false when there is none.
bool KindOfName(std::string_view name, Kind& kind);

// More new addresses than the pseudonym ranges hold: the package cannot be
// redacted without public addresses, so it is not redacted at all.
class RangeExhausted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct MapEntry {
  Kind kind = Kind::Host;
  std::string original;
  std::string pseudonym;
  // Another spelling of the entry at this index (HTML-escaped, UTF-8):
  // matched like it, never written to the map file.
  std::size_t aliasOf = kNoAlias;
  static constexpr std::size_t kNoAlias = static_cast<std::size_t>(-1);
  bool IsAlias() const { return aliasOf != kNoAlias; }
};

// A name the map keeps as it is: Fernwick reads it in a server image.
struct KeptName {
  Kind kind = Kind::Host;
  std::string original;
  std::string reason;
};

class RedactionMap {
 public:
  // Takes the entries of an earlier run's map; false (with `error`) when
  // they contradict each other: one original with two pseudonyms, or one
  // pseudonym for two originals.
  bool Load(const std::vector<MapEntry>& entries, std::string& error);

  // The pseudonym of a name, given one at the first sight of it. A DNS name
  // (with a dot) of kind Host or Domain is made of the pseudonyms of its
  // labels, its last two labels standing as one, under ".INVALID":
  // "DC01.corp.example.com" -> "HOST01.DOMAIN01.DOMAIN02.INVALID", so a
  // host's short name and its full name share their pseudonym and names
  // under one domain stay under one pseudonym domain. A name of another
  // kind already in the map keeps its pseudonym; a Label becomes matched
  // when it is seen as a name of its own. A name Fernwick itself reads
  // (kept_names.h, ProtectedReason) gets no pseudonym: it is kept, and the
  // original comes back.
  const std::string& AddName(Kind kind, std::string_view original);
  // The names kept so, by their lower-case original.
  const std::map<std::string, KeptName>& Kept() const { return kept_; }
  // The pseudonym address of an IPv4 address (a.b.c.d as a number): the
  // /24 goes to a pseudonym /24, the last byte stays.
  std::uint32_t AddIPv4(std::uint32_t address, bool replaced = false);
  // The same for IPv6 (16 bytes): the /64 goes to 2001:db8:0:N::/64 (the
  // documentation prefix), each address to its own interface id; a
  // link-local address keeps fe80::/64.
  std::vector<std::uint8_t> AddIPv6(const std::vector<std::uint8_t>& address);
  // A MAC address (6 bytes) -> 02-00-00-xx-xx-xx, locally administered.
  std::vector<std::uint8_t> AddMac(const std::vector<std::uint8_t>& address);

  // The entry of a name (any of the name kinds) by its original, or null.
  const MapEntry* FindName(std::string_view original) const;
  // The matched entries whose original begins with this run of letters and
  // digits (lower case), longest first; null when none.
  const std::vector<std::size_t>* Candidates(const std::string& firstWordLower) const;
  // False when no matched entry begins with a word of these first two
  // characters (lower case; the second 0 for a one-character word): the
  // common case, answered without hashing the word.
  bool MayBeginWord(char first, char second) const { return firstPairs_[PairIndex(first, second)]; }
  // The entry of a name by its key: "n:" and the lower-case original.
  const MapEntry* FindKey(const std::string& key) const;
  const MapEntry& Entry(std::size_t index) const { return entries_[index]; }
  // True when `text` is a pseudonym of the map (a package redacted again
  // keeps its pseudonyms).
  bool IsPseudonym(std::string_view text) const;

  // Notes that the entry replaced something in this run.
  void MarkReplaced(const MapEntry& entry) { replaced_.insert(entry.IsAlias() ? &entries_[entry.aliasOf] : &entry); }

  // How text of the ANSI code page reads as UTF-8: set before names join,
  // so that a name with other than ASCII characters is matched in UTF-8
  // files (Summary.htm) too. Each name with &, <, > or " is matched
  // HTML-escaped as well.
  void SetToUtf8(std::function<std::optional<std::string>(std::string_view)> toUtf8) { toUtf8_ = std::move(toUtf8); }
  // The same for an address, by its kind and original.
  void MarkReplaced(Kind kind, std::string_view original);
  // How many different originals of each kind were replaced in this run.
  std::map<Kind, int> ReplacedCounts() const;

  const std::deque<MapEntry>& Entries() const { return entries_; }
  // Grows whenever a domain joins the map.
  std::size_t DomainChanges() const { return domainChanges_; }

 private:
  std::size_t Add(Kind kind, std::string key, std::string original, std::string pseudonym);
  // AddName without the protection: a part of a DNS name.
  const std::string& AddPart(Kind kind, std::string_view original);
  std::string NewPseudonym(std::string_view prefix, std::string_view original);
  const std::string& LabelPseudonym(std::string_view label, Kind kind);
  void IndexWords(std::size_t index);
  void AddSpellings(std::size_t index);
  static bool Matched(Kind kind);
  static bool EqualsLower(std::string_view a, std::string_view b);

  std::deque<MapEntry> entries_;
  std::unordered_map<std::string, std::size_t> byKey_;  // kind class + lower-case original
  std::unordered_map<std::string, std::vector<std::size_t>> byFirstWord_;
  std::set<std::string> pseudonyms_;  // lower case
  std::map<std::string, int> nextNumber_;
  int nextSubnet_ = 0;  // the next pseudonym /24 to try
  int nextPrefix_ = 1;  // the next pseudonym /64 to try
  std::unordered_set<const MapEntry*> replaced_;
  std::map<std::string, KeptName> kept_;
  std::unordered_map<std::uint32_t, std::size_t> ipv4_;  // address -> its entry
  std::size_t domainChanges_ = 0;
  static std::size_t PairIndex(char first, char second) {
    return static_cast<unsigned char>(first) << 8 | static_cast<unsigned char>(second);
  }
  std::bitset<65536> firstPairs_;
  std::function<std::optional<std::string>(std::string_view)> toUtf8_;
};

// Lower-case ASCII.
std::string Lower(std::string_view text);
// Characters of a Windows or DNS name word: letters, digits, "_" and "-".
// Inline: the redaction asks it of every character of the event logs.
inline bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}
// ASCII letters and digits: what continues a name, so that "CORP" stands in
// "CORP-DC01" and "CORP_2026" but not in "CORPORATION".
inline bool IsAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace fernwick::redaction
