#include "redaction/map_file.h"

#include "redaction/address_patterns.h"
#include "redaction/keyword_file.h"

namespace fernwick::redaction {
namespace {

bool ValidSubnet(std::string_view text, bool v6) {
  const std::string_view suffix = v6 ? "/64" : "/24";
  if (text.size() <= suffix.size() || text.substr(text.size() - suffix.size()) != suffix) return false;
  const auto address = text.substr(0, text.size() - suffix.size());
  return v6 ? ParseIPv6(address).has_value() : ParseIPv4(address).has_value();
}

// What may stand in the field of an entry of this kind.
bool Valid(Kind kind, std::string_view text, bool pseudonym) {
  switch (kind) {
    case Kind::IPv4: return ParseIPv4(text).has_value();
    case Kind::Subnet4: return ValidSubnet(text, false);
    case Kind::IPv6: return ParseIPv6(text).has_value();
    case Kind::Prefix6: return ValidSubnet(text, true);
    case Kind::Mac: return ParseMac(text).has_value();
    default: break;
  }
  if (!pseudonym) return true;
  // Upper-case letters and digits, DNS names of them joined by dots.
  if (text.front() == '.' || text.back() == '.') return false;
  for (char c : text) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.')) return false;
  }
  return true;
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
    if (!Valid(entry.kind, entry.pseudonym, true)) {
      return fail(Quoted(entry.pseudonym) + " is no pseudonym of kind " + std::string(KindName(entry.kind)));
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
    text += std::string(KindName(e.kind)) + "\t" + e.original + "\t" + e.pseudonym + "\r\n";
  }
  return text;
}

}  // namespace fernwick::redaction
