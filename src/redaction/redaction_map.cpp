#include "redaction/redaction_map.h"

#include <algorithm>

#include "redaction/address_patterns.h"
#include "redaction/keyword_file.h"
#include "redaction/kept_names.h"
#include "report/html_text.h"

namespace fernwick::redaction {
namespace {

struct KindText {
  Kind kind;
  std::string_view name;
  std::string_view prefix;  // of its pseudonyms (names)
};

constexpr KindText kKinds[] = {
    {Kind::Host, "host", "HOST"},     {Kind::Domain, "domain", "DOMAIN"},
    {Kind::Label, "label", "DOMAIN"}, {Kind::Account, "account", "USER"},
    {Kind::Name, "name", "NAME"},     {Kind::Keyword, "keyword", "KEYWORD"},
    {Kind::IPv4, "ipv4", ""},         {Kind::Subnet4, "subnet4", ""},
    {Kind::IPv6, "ipv6", ""},         {Kind::Prefix6, "prefix6", ""},
    {Kind::Mac, "mac", ""},
};

std::string_view Prefix(Kind kind) {
  for (const auto& k : kKinds) {
    if (k.kind == kind) return k.prefix;
  }
  return "NAME";
}

bool IsNameKind(Kind kind) {
  return kind == Kind::Host || kind == Kind::Domain || kind == Kind::Label || kind == Kind::Account ||
         kind == Kind::Name || kind == Kind::Keyword;
}

// Map keys: names share one space (one original, one pseudonym, whatever
// kind it was first seen as); each address kind has its own.
std::string Key(Kind kind, std::string_view original) {
  switch (kind) {
    case Kind::IPv4: return "4:" + Lower(original);
    case Kind::Subnet4: return "s:" + Lower(original);
    case Kind::IPv6: return "6:" + Lower(original);
    case Kind::Prefix6: return "p:" + Lower(original);
    case Kind::Mac: return "m:" + Lower(original);
    default: return "n:" + Lower(original);
  }
}

// The letters and digits an original begins with: names are found at the
// start of any such run, also after "_" or "-" ("VOXTRA01_2026").
std::string FirstWord(std::string_view lower) {
  std::size_t end = 0;
  while (end < lower.size() && IsAlnum(lower[end])) ++end;
  // An original that begins otherwise (a UTF-8 spelling, an HTML entity):
  // its first byte.
  if (end == 0 && !lower.empty()) end = 1;
  return std::string(lower.substr(0, end));
}

std::vector<std::string_view> Labels(std::string_view name) {
  std::vector<std::string_view> labels;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = name.find('.', start);
    labels.push_back(name.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
    if (dot == std::string_view::npos) return labels;
    start = dot + 1;
  }
}

// The pseudonym /24s: the documentation ranges, then 10.255.255.0/24 down
// to 10.0.0.0/24; never a public address.
constexpr int kSubnetCandidates = 3 + 65536;
constexpr const char* kSubnetsExhausted =
    "more than 65539 IPv4 /24 subnets: the documentation ranges and 10.0.0.0/8 hold no more pseudonyms, and "
    "public addresses are never used";

std::uint32_t SubnetCandidate(int index) {
  static constexpr std::uint32_t kDocumentation[] = {0xC6336400, 0xCB007100,
                                                     0xC0000200};  // 198.51.100, 203.0.113, 192.0.2
  if (index < 3) return kDocumentation[index];
  const std::uint32_t n = static_cast<std::uint32_t>(index - 3);
  return 0x0AFFFF00 - (n << 8);
}

std::string SubnetText(std::uint32_t subnet) {
  return FormatIPv4(subnet) + "/24";
}

std::string Prefix6Text(const std::vector<std::uint8_t>& address) {
  std::vector<std::uint8_t> prefix(16, 0);
  for (std::size_t i = 0; i < 8 && i < address.size(); ++i) prefix[i] = address[i];
  return FormatIPv6(prefix) + "/64";
}

}  // namespace

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view KindName(Kind kind) {
  for (const auto& k : kKinds) {
    if (k.kind == kind) return k.name;
  }
  return "name";
}

bool KindOfName(std::string_view name, Kind& kind) {
  for (const auto& k : kKinds) {
    if (k.name == name) {
      kind = k.kind;
      return true;
    }
  }
  return false;
}

bool RedactionMap::Matched(Kind kind) {
  return IsNameKind(kind) && kind != Kind::Label;
}

std::size_t RedactionMap::Add(Kind kind, std::string key, std::string original, std::string pseudonym) {
  entries_.push_back({kind, std::move(original), std::move(pseudonym)});
  const std::size_t index = entries_.size() - 1;
  if (kind == Kind::Domain) ++domainChanges_;
  byKey_.emplace(std::move(key), index);
  pseudonyms_.insert(Lower(entries_[index].pseudonym));
  if (Matched(kind)) IndexWords(index);
  return index;
}

void RedactionMap::IndexWords(std::size_t index) {
  const std::string first = FirstWord(Lower(entries_[index].original));
  if (!first.empty()) firstPairs_.set(PairIndex(first[0], first.size() > 1 ? first[1] : '\0'));
  // Longest first, in the order they came among equals: each new one goes
  // after the last that is as long (no sort of the whole list each time).
  auto& list = byFirstWord_[first];
  const std::size_t length = entries_[index].original.size();
  const auto at = std::upper_bound(list.begin(), list.end(), length,
                                   [this](std::size_t n, std::size_t e) { return n > entries_[e].original.size(); });
  list.insert(at, index);
  if (!entries_[index].IsAlias()) AddSpellings(index);
}

void RedactionMap::AddSpellings(std::size_t index) {
  const std::string original = entries_[index].original;
  std::vector<std::string> spellings{report::HtmlEscaped(original)};
  bool ascii = true;
  for (char c : original) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (!ascii && toUtf8_) {
    if (const auto utf8 = toUtf8_(original)) {
      spellings.push_back(*utf8);
      spellings.push_back(report::HtmlEscaped(*utf8));
    }
  }
  for (auto& spelling : spellings) {
    std::string key = "a:" + Lower(spelling);
    if (spelling == original || byKey_.count(key) > 0) continue;
    entries_.push_back({entries_[index].kind, std::move(spelling), entries_[index].pseudonym, index});
    byKey_.emplace(std::move(key), entries_.size() - 1);
    IndexWords(entries_.size() - 1);
  }
}

bool RedactionMap::Load(const std::vector<MapEntry>& entries, std::string& error) {
  for (const auto& e : entries) {
    if (IsNameKind(e.kind) && e.kind != Kind::Label && !ProtectedReason(e.original).empty()) {
      error = Quoted(e.original) + " is never replaced: " + std::string(ProtectedReason(e.original));
      return false;
    }
    const std::string key = Key(e.kind, e.original);
    if (const auto found = byKey_.find(key); found != byKey_.end()) {
      if (!EqualsLower(entries_[found->second].pseudonym, e.pseudonym)) {
        error = Quoted(e.original) + " has two pseudonyms";
        return false;
      }
      continue;
    }
    if (pseudonyms_.count(Lower(e.pseudonym)) > 0) {
      error = "the pseudonym " + Quoted(e.pseudonym) + " stands for two originals";
      return false;
    }
    Add(e.kind, key, e.original, e.pseudonym);
  }
  return true;
}

bool RedactionMap::EqualsLower(std::string_view a, std::string_view b) {
  return Lower(a) == Lower(b);
}

std::string RedactionMap::NewPseudonym(std::string_view prefix, std::string_view original) {
  int& next = nextNumber_[std::string(prefix)];
  while (true) {
    ++next;
    std::string candidate = std::string(prefix) + (next < 10 ? "0" : "") + std::to_string(next);
    const std::string lower = Lower(candidate);
    // Never one that is itself an original (a server named HOST01).
    if (pseudonyms_.count(lower) == 0 && pseudonyms_.count(lower + ".invalid") == 0 &&
        byKey_.count("n:" + lower) == 0 && lower != Lower(original)) {
      return candidate;
    }
  }
}

const std::string& RedactionMap::LabelPseudonym(std::string_view label, Kind kind) {
  // A host label that is a word Fernwick reads stands only inside its name.
  if (kind == Kind::Host && !ProtectedReason(label).empty()) kind = Kind::Label;
  const std::string key = Key(kind, label);
  if (const auto found = byKey_.find(key); found != byKey_.end()) return entries_[found->second].pseudonym;
  return entries_[Add(kind, key, std::string(label), NewPseudonym(Prefix(kind), label))].pseudonym;
}

const std::string& RedactionMap::AddName(Kind kind, std::string_view original) {
  if (kind != Kind::Label) {
    if (const std::string_view reason = ProtectedReason(original); !reason.empty()) {
      const auto [kept, added] = kept_.try_emplace(Lower(original));
      if (added) kept->second = {kind, std::string(original), std::string(reason)};
      return kept->second.original;
    }
  }
  return AddPart(kind, original);
}

const std::string& RedactionMap::AddPart(Kind kind, std::string_view original) {
  const std::string key = Key(kind, original);
  if (const auto found = byKey_.find(key); found != byKey_.end()) {
    MapEntry& entry = entries_[found->second];
    if (entry.kind == Kind::Label && Matched(kind)) {
      entry.kind = kind;
      ++domainChanges_;
      IndexWords(found->second);
    }
    return entry.pseudonym;
  }
  const auto labels = Labels(original);
  if ((kind != Kind::Host && kind != Kind::Domain) || labels.size() < 2) {
    return entries_[Add(kind, key, std::string(original), NewPseudonym(Prefix(kind), original))].pseudonym;
  }
  // A DNS name: its parent domains first, so that they are names too.
  std::string pseudonym;
  if (labels.size() == 2 && kind == Kind::Host) {
    pseudonym = LabelPseudonym(labels[0], Kind::Host) + "." + AddPart(Kind::Domain, labels[1]);
  } else if (labels.size() == 2) {
    pseudonym = LabelPseudonym(original, Kind::Label) + ".INVALID";
  } else {
    const std::string_view parent = original.substr(labels[0].size() + 1);
    const std::string parentPseudonym = AddPart(Kind::Domain, parent);
    pseudonym = LabelPseudonym(labels[0], kind == Kind::Host ? Kind::Host : Kind::Label) + "." + parentPseudonym;
  }
  // A Label entry of the same text (the two-label case) stands aside: the
  // name itself is matched under its own key space entry.
  if (const auto found = byKey_.find(key); found != byKey_.end()) {
    MapEntry& entry = entries_[found->second];
    entry.kind = Kind::Domain;
    ++domainChanges_;
    entry.pseudonym = pseudonym;
    pseudonyms_.insert(Lower(pseudonym));
    IndexWords(found->second);
    return entry.pseudonym;
  }
  return entries_[Add(kind, key, std::string(original), pseudonym)].pseudonym;
}

std::uint32_t RedactionMap::AddIPv4(std::uint32_t address, bool replaced) {
  if (const auto known = ipv4_.find(address); known != ipv4_.end()) {
    const MapEntry& entry = entries_[known->second];
    if (replaced) replaced_.insert(&entry);
    return ParseIPv4(entry.pseudonym).value_or(0);
  }
  const std::string key = Key(Kind::IPv4, FormatIPv4(address));
  if (const auto found = byKey_.find(key); found != byKey_.end()) {
    ipv4_.emplace(address, found->second);
    if (replaced) replaced_.insert(&entries_[found->second]);
    return ParseIPv4(entries_[found->second].pseudonym).value_or(0);
  }
  const std::uint32_t subnet = address & 0xFFFFFF00;
  const std::string subnetKey = Key(Kind::Subnet4, SubnetText(subnet));
  std::uint32_t pseudonymSubnet = 0;
  if (const auto found = byKey_.find(subnetKey); found != byKey_.end()) {
    const std::string& text = entries_[found->second].pseudonym;
    pseudonymSubnet = ParseIPv4(text.substr(0, text.find('/'))).value_or(0);
  } else {
    // On from the last one given: constant time for each new subnet.
    for (int& i = nextSubnet_;; ++i) {
      if (i >= kSubnetCandidates) throw RangeExhausted(kSubnetsExhausted);
      const std::uint32_t candidate = SubnetCandidate(i);
      if (pseudonyms_.count(SubnetText(candidate)) == 0 &&
          byKey_.count(Key(Kind::Subnet4, SubnetText(candidate))) == 0) {
        pseudonymSubnet = candidate;
        ++i;
        break;
      }
    }
    Add(Kind::Subnet4, subnetKey, SubnetText(subnet), SubnetText(pseudonymSubnet));
  }
  const std::uint32_t pseudonym = pseudonymSubnet | (address & 0xFF);
  const std::size_t index = Add(Kind::IPv4, key, FormatIPv4(address), FormatIPv4(pseudonym));
  ipv4_.emplace(address, index);
  if (replaced) replaced_.insert(&entries_[index]);
  return pseudonym;
}

std::vector<std::uint8_t> RedactionMap::AddIPv6(const std::vector<std::uint8_t>& address) {
  const std::string key = Key(Kind::IPv6, FormatIPv6(address));
  if (const auto found = byKey_.find(key); found != byKey_.end()) {
    return ParseIPv6(entries_[found->second].pseudonym).value_or(address);
  }
  std::vector<std::uint8_t> pseudonym(16, 0);
  const bool linkLocal = address[0] == 0xFE && (address[1] & 0xC0) == 0x80;
  if (linkLocal) {
    pseudonym[0] = 0xFE;
    pseudonym[1] = 0x80;
  } else {
    const std::string prefixText = Prefix6Text(address);
    const std::string prefixKey = Key(Kind::Prefix6, prefixText);
    std::string pseudonymPrefix;
    if (const auto found = byKey_.find(prefixKey); found != byKey_.end()) {
      pseudonymPrefix = entries_[found->second].pseudonym;
    } else {
      for (int& n = nextPrefix_;; ++n) {
        if (n > 0xFFFF) throw RangeExhausted("more than 65535 IPv6 /64 prefixes: 2001:db8:0::/48 holds no more");
        std::vector<std::uint8_t> candidate(16, 0);
        candidate[0] = 0x20;
        candidate[1] = 0x01;
        candidate[2] = 0x0d;
        candidate[3] = 0xb8;
        candidate[6] = static_cast<std::uint8_t>(n >> 8);
        candidate[7] = static_cast<std::uint8_t>(n & 0xFF);
        if (pseudonyms_.count(Prefix6Text(candidate)) == 0) {
          pseudonymPrefix = Prefix6Text(candidate);
          ++n;
          break;
        }
      }
      Add(Kind::Prefix6, prefixKey, prefixText, pseudonymPrefix);
    }
    const auto parsed = ParseIPv6(pseudonymPrefix.substr(0, pseudonymPrefix.find('/')));
    if (parsed) std::copy(parsed->begin(), parsed->begin() + 8, pseudonym.begin());
  }
  // The interface id: a number of its own for each address.
  for (int& next = nextNumber_["ipv6"];;) {
    if (++next > 0xFFFFFF) throw RangeExhausted("more than 16777215 IPv6 addresses");
    pseudonym[13] = static_cast<std::uint8_t>(next >> 16);
    pseudonym[14] = static_cast<std::uint8_t>(next >> 8);
    pseudonym[15] = static_cast<std::uint8_t>(next & 0xFF);
    if (pseudonyms_.count(FormatIPv6(pseudonym)) == 0) break;
  }
  Add(Kind::IPv6, key, FormatIPv6(address), FormatIPv6(pseudonym));
  return pseudonym;
}

std::vector<std::uint8_t> RedactionMap::AddMac(const std::vector<std::uint8_t>& address) {
  const std::string text = FormatMac(address, '-', false);
  const std::string key = Key(Kind::Mac, text);
  if (const auto found = byKey_.find(key); found != byKey_.end()) {
    return ParseMac(entries_[found->second].pseudonym).value_or(address);
  }
  std::vector<std::uint8_t> pseudonym;
  for (int& next = nextNumber_["mac"];;) {
    if (++next > 0xFFFFFF) throw RangeExhausted("more than 16777215 MAC addresses");
    pseudonym = {0x02,
                 0,
                 0,
                 static_cast<std::uint8_t>(next >> 16),
                 static_cast<std::uint8_t>(next >> 8),
                 static_cast<std::uint8_t>(next & 0xFF)};
    if (pseudonyms_.count(FormatMac(pseudonym, '-', false)) == 0) break;
  }
  Add(Kind::Mac, key, text, FormatMac(pseudonym, '-', false));
  return pseudonym;
}

const MapEntry* RedactionMap::FindName(std::string_view original) const {
  const auto found = byKey_.find("n:" + Lower(original));
  return found == byKey_.end() ? nullptr : &entries_[found->second];
}

const std::vector<std::size_t>* RedactionMap::Candidates(const std::string& firstWordLower) const {
  if (byFirstWord_.empty()) return nullptr;
  const auto found = byFirstWord_.find(firstWordLower);
  return found == byFirstWord_.end() ? nullptr : &found->second;
}

const MapEntry* RedactionMap::FindKey(const std::string& key) const {
  const auto found = byKey_.find(key);
  return found == byKey_.end() ? nullptr : &entries_[found->second];
}

void RedactionMap::MarkReplaced(Kind kind, std::string_view original) {
  if (const auto found = byKey_.find(Key(kind, original)); found != byKey_.end())
    replaced_.insert(&entries_[found->second]);
}

bool RedactionMap::IsPseudonym(std::string_view text) const {
  return pseudonyms_.count(Lower(text)) > 0;
}

std::map<Kind, int> RedactionMap::ReplacedCounts() const {
  std::map<Kind, int> counts;
  for (const MapEntry* entry : replaced_) ++counts[entry->kind];
  return counts;
}

}  // namespace fernwick::redaction
