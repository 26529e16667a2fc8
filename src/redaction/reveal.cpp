#include "redaction/reveal.h"

#include <algorithm>

#include "redaction/address_patterns.h"
#include "redaction/file_redaction.h"

namespace fernwick::redaction {
namespace {

std::size_t AlnumEnd(std::string_view text, std::size_t i) {
  while (i < text.size() && IsAlnum(text[i])) ++i;
  return i;
}

// "198.51.100.0/24" -> "198.51.100."
std::string SubnetPrefix(std::string_view subnet) {
  const std::size_t slash = subnet.find('/');
  const std::string_view address = subnet.substr(0, slash);
  return std::string(address.substr(0, address.rfind('.') + 1));
}

}  // namespace

Revealer::Revealer(const RedactionMap& map) {
  for (const auto& e : map.Entries()) {
    if (e.IsAlias() || e.kind == Kind::Prefix6) continue;
    if (e.kind == Kind::Subnet4) {
      subnets_[SubnetPrefix(e.pseudonym)] = SubnetPrefix(e.original);
    } else if (e.kind == Kind::Mac) {
      std::string colons = e.pseudonym;
      std::replace(colons.begin(), colons.end(), '-', ':');
      std::string originalColons = e.original;
      std::replace(originalColons.begin(), originalColons.end(), '-', ':');
      Add(e.pseudonym, e.original);
      Add(colons, originalColons);
    } else {
      Add(e.pseudonym, e.original);
    }
  }
  for (auto& [word, list] : byFirstWord_) {
    std::stable_sort(list.begin(), list.end(), [this](std::size_t a, std::size_t b) {
      return spellings_[a].pseudonym.size() > spellings_[b].pseudonym.size();
    });
  }
}

void Revealer::Add(std::string_view pseudonym, const std::string& original) {
  spellings_.push_back({Lower(pseudonym), original});
  const std::string& lower = spellings_.back().pseudonym;
  byFirstWord_[lower.substr(0, AlnumEnd(lower, 0))].push_back(spellings_.size() - 1);
}

std::size_t Revealer::Match(std::string_view text, std::size_t i, std::string& out) const {
  const std::size_t wordEnd = AlnumEnd(text, i);
  const auto found = byFirstWord_.find(Lower(text.substr(i, wordEnd - i)));
  if (found != byFirstWord_.end()) {
    for (const std::size_t index : found->second) {
      const Spelling& s = spellings_[index];
      const std::size_t end = i + s.pseudonym.size();
      if (end > text.size() || (end < text.size() && IsAlnum(text[end]))) continue;
      const std::string_view at = text.substr(i, s.pseudonym.size());
      if (Lower(at) != s.pseudonym) continue;
      bool upper = false;
      for (char c : at) upper = upper || (c >= 'A' && c <= 'Z');
      out = upper ? s.original : Lower(s.original);
      return s.pseudonym.size();
    }
  }
  // An address of a pseudonym subnet that the map does not list.
  std::size_t end = i;
  while (end < text.size() && (IsAlnum(text[end]) || text[end] == '.')) ++end;
  while (end > i && text[end - 1] == '.') --end;
  const std::string_view run = text.substr(i, end - i);
  if (ParseIPv4(run)) {
    const auto subnet = subnets_.find(std::string(run.substr(0, run.rfind('.') + 1)));
    if (subnet != subnets_.end()) {
      out = subnet->second + std::string(run.substr(run.rfind('.') + 1));
      return run.size();
    }
  }
  return 0;
}

std::string Revealer::Reveal(std::string_view text) const {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (!IsAlnum(text[i]) || (i > 0 && IsAlnum(text[i - 1]))) {
      out += text[i++];
      continue;
    }
    std::string original;
    if (const std::size_t used = Match(text, i, original)) {
      out += original;
      i += used;
      continue;
    }
    const std::size_t end = AlnumEnd(text, i);
    out.append(text.substr(i, end - i));
    i = end;
  }
  return out;
}

std::string Revealer::RevealFileBytes(std::string_view bytes) const {
  if (!LooksUtf16(bytes)) return Reveal(bytes);
  // UTF-16LE: units up to 0xFF as bytes; the others stand aside as 0x01.
  std::string narrow;
  std::vector<char16_t> wide;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit =
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit <= 0xFF && unit != 1) {
      narrow += static_cast<char>(unit);
    } else {
      narrow += '\x01';
      wide.push_back(unit);
    }
  }
  std::string out;
  std::size_t next = 0;
  for (char c : Reveal(narrow)) {
    char16_t unit = static_cast<unsigned char>(c);
    if (c == '\x01' && next < wide.size()) unit = wide[next++];
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  if (bytes.size() % 2 != 0) out += bytes.back();
  return out;
}

}  // namespace fernwick::redaction
