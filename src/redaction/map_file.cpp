#include "redaction/map_file.h"

#include <cstdint>
#include <vector>

#include "redaction/address_patterns.h"
#include "redaction/keyword_file.h"

namespace fernwick::redaction {
namespace {

// A generated name pseudonym: HOST01, or DNS labels of such words under
// ".INVALID" (HOST01.DOMAIN01.DOMAIN02.INVALID).
bool GeneratedName(std::string_view text) {
  static constexpr std::string_view kPrefixes[] = {"HOST", "DOMAIN", "USER", "NAME", "KEYWORD"};
  std::size_t start = 0;
  for (int label = 0;; ++label) {
    const std::size_t dot = text.find('.', start);
    const std::string_view word = text.substr(start, dot == std::string_view::npos ? dot : dot - start);
    if (dot == std::string_view::npos && label > 0 && word == "INVALID") return true;
    bool ok = false;
    for (const auto prefix : kPrefixes) {
      if (word.size() >= prefix.size() + 2 && word.substr(0, prefix.size()) == prefix &&
          word.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos) {
        ok = true;
      }
    }
    if (!ok || dot == std::string_view::npos) return ok;
    start = dot + 1;
  }
}

// Pseudonym addresses lie in the documentation ranges and 10.0.0.0/8.
bool GeneratedIPv4(std::uint32_t address) {
  const std::uint32_t subnet = address & 0xFFFFFF00;
  return subnet == 0xC6336400 || subnet == 0xCB007100 || subnet == 0xC0000200 || (address >> 24) == 10;
}

bool GeneratedIPv6(const std::vector<std::uint8_t>& address) {
  const bool documentation = address[0] == 0x20 && address[1] == 0x01 && address[2] == 0x0d && address[3] == 0xb8;
  const bool linkLocal = address[0] == 0xFE && (address[1] & 0xC0) == 0x80;
  return documentation || linkLocal;
}

// What may stand in the field of an entry of this kind.
bool Valid(Kind kind, std::string_view text, bool pseudonym) {
  const std::string_view suffix = kind == Kind::Subnet4 ? "/24" : "/64";
  const bool subnet = kind == Kind::Subnet4 || kind == Kind::Prefix6;
  if (subnet && (text.size() <= suffix.size() || text.substr(text.size() - suffix.size()) != suffix)) return false;
  const std::string_view address = subnet ? text.substr(0, text.size() - suffix.size()) : text;
  switch (kind) {
    case Kind::IPv4:
    case Kind::Subnet4: {
      const auto v4 = ParseIPv4(address);
      return v4 && (!pseudonym || GeneratedIPv4(*v4));
    }
    case Kind::IPv6:
    case Kind::Prefix6: {
      const auto v6 = ParseIPv6(address);
      return v6 && (!pseudonym || GeneratedIPv6(*v6));
    }
    case Kind::Mac: {
      const auto mac = ParseMac(text);
      return mac && (!pseudonym || ((*mac)[0] == 0x02 && (*mac)[1] == 0 && (*mac)[2] == 0));
    }
    default: break;
  }
  return !pseudonym || GeneratedName(text);
}

}  // namespace

MapFile ParseMapFile(std::string_view text) {
  MapFile file;
  int number = 0;
  for (const auto line : TextLines(text)) {
    ++number;
    if (line.empty() || line.front() == ';') continue;
    const auto fail = [&](const std::string& why) {
      file.entries.clear();
      file.error = "line " + std::to_string(number) + ": " + why;
      return file;
    };
    const std::size_t first = line.find('\t');
    const std::size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
    if (second == std::string_view::npos || line.find('\t', second + 1) != std::string_view::npos) {
      return fail("not three fields separated by tabs (kind, original, pseudonym)");
    }
    MapEntry entry;
    if (!KindOfName(line.substr(0, first), entry.kind)) {
      return fail("unknown kind " + Quoted(line.substr(0, first)));
    }
    entry.original = line.substr(first + 1, second - first - 1);
    entry.pseudonym = line.substr(second + 1);
    if (entry.original.empty() || entry.pseudonym.empty()) return fail("an empty original or pseudonym");
    if (entry.original.size() > 256 || entry.pseudonym.size() > 256) return fail("a field longer than 256 characters");
    for (char c : entry.original) {
      if (static_cast<unsigned char>(c) < 0x20) return fail("a control character in the original");
    }
    if (!Valid(entry.kind, entry.original, false)) {
      return fail(Quoted(entry.original) + " is no " + std::string(KindName(entry.kind)));
    }
    if (Lower(entry.original) == Lower(entry.pseudonym)) {
      return fail(Quoted(entry.original) + " stands for itself: its pseudonym must differ");
    }
    if (!Valid(entry.kind, entry.pseudonym, true)) {
      return fail(Quoted(entry.pseudonym) + " is no pseudonym of kind " + std::string(KindName(entry.kind)) +
                  " that Fernwick makes");
    }
    file.entries.push_back(std::move(entry));
  }
  return file;
}

std::string MapFileText(const RedactionMap& map) {
  std::string text =
      "; Fernwick's redaction map: each original name or address of this server and the pseudonym that\r\n"
      "; stands for it in a redacted VoxtraInfo.cab. Keep this file here: it is never packed, and the next\r\n"
      "; run with \"redact\" reads it, so that its cabinet uses the same pseudonyms.\r\n"
      "; kind<TAB>original<TAB>pseudonym\r\n";
  for (const auto& e : map.Entries()) {
    if (e.IsAlias()) continue;
    text += std::string(KindName(e.kind)) + "\t" + e.original + "\t" + e.pseudonym + "\r\n";
  }
  return text;
}

}  // namespace fernwick::redaction
