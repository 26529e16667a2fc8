#include "redaction/text_redactor.h"

#include <algorithm>

#include "redaction/address_patterns.h"
#include "redaction/kept_names.h"

namespace fernwick::redaction {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHex(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t WordEnd(std::string_view text, std::size_t i) {
  while (i < text.size() && IsNameChar(text[i])) ++i;
  return i;
}

// A dotted run of name words from i: "DC01.corp.example.com".
std::size_t DottedEnd(std::string_view text, std::size_t i) {
  std::size_t end = WordEnd(text, i);
  while (end + 1 < text.size() && text[end] == '.' && IsNameChar(text[end + 1])) end = WordEnd(text, end + 1);
  return end;
}

// A four-part number right after a word such as "Version" or "build" is a
// version, not an address ("SUW Version : 4.2.1.12", "FullVersion"="5.2.0.277").
bool AfterVersionWord(std::string_view text, std::size_t i) {
  std::size_t j = i;
  while (j > 0 && std::string_view(" \t=:\"'(,@").find(text[j - 1]) != std::string_view::npos && i - j < 8) --j;
  std::size_t start = j;
  while (start > 0 && IsLetter(text[start - 1]) && j - start < 32) --start;
  const std::string_view word = text.substr(start, j - start);
  const auto same = [](std::string_view a, std::string_view lower) {
    if (a.size() != lower.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
      const char c = a[k] >= 'A' && a[k] <= 'Z' ? static_cast<char>(a[k] - 'A' + 'a') : a[k];
      if (c != lower[k]) return false;
    }
    return true;
  };
  return (word.size() >= 7 && same(word.substr(word.size() - 7), "version")) || same(word, "ver") || same(word, "v") ||
         same(word, "build") || same(word, "release") || same(word, "revision");
}

// The rule for DNS names under a domain the package names nowhere else
// ("dc02.emea.acme.local", "smtp.partner.com"): three labels or more, each
// beginning with a letter, the last a top-level domain of the list, none
// a product or Windows name (file names such as "setup.exe.config" and
// "archive.tar.gz" end otherwise).
bool IsForeignHostName(std::string_view name) {
  static constexpr std::string_view kTopLevel[] = {
      "local", "lan", "corp", "internal", "intranet", "intra", "home", "com", "net", "org", "edu", "gov",
      "mil",   "int", "biz",  "info",     "uk",       "de",    "fr",   "nl",  "jp",  "au",  "ca",  "us",
      "ch",    "at",  "be",   "it",       "es",       "se",    "no",   "dk",  "fi",  "ie",  "nz",  "in",
  };
  std::size_t labels = 0, start = 0;
  std::string_view last;
  while (start <= name.size()) {
    std::size_t dot = name.find('.', start);
    if (dot == std::string_view::npos) dot = name.size();
    const std::string_view label = name.substr(start, dot - start);
    // The top-level domain may be a kept word ("local").
    if (label.empty() || !IsLetter(label[0]) || (dot < name.size() && IsKeptName(label))) return false;
    ++labels;
    last = label;
    start = dot + 1;
  }
  if (labels < 3) return false;
  const std::string lower = Lower(last);
  for (const auto tld : kTopLevel) {
    if (lower == tld) return true;
  }
  return false;
}

bool BoundaryAfter(std::string_view text, std::size_t end) {
  return end >= text.size() || !IsNameChar(text[end]);
}

std::size_t AlnumEnd(std::string_view text, std::size_t i) {
  while (i < text.size() && IsAlnum(text[i])) ++i;
  return i;
}

// A port after an address: ":1433", ":5060;transport=udp", ":80." at a
// sentence's end.
bool PortAfter(std::string_view text, std::size_t end) {
  if (end >= text.size() || text[end] != ':') return false;
  std::size_t digits = end + 1;
  while (digits < text.size() && IsDigit(text[digits]) && digits - end <= 5) ++digits;
  if (digits == end + 1 || digits - end > 6) return false;
  if (digits == text.size()) return true;
  const char next = text[digits];
  return !IsNameChar(next) && next != ':' && !(next == '.' && digits + 1 < text.size() && IsDigit(text[digits + 1]));
}

// The second address of a range: "10.20.1.100-10.20.1.200".
bool RangeAfter(std::string_view text, std::size_t end) {
  if (end + 1 >= text.size() || text[end] != '-' || !IsDigit(text[end + 1])) return false;
  std::size_t next = end + 1;
  while (next < text.size() && (IsDigit(text[next]) || text[next] == '.')) ++next;
  while (next > end + 1 && text[next - 1] == '.') --next;
  return ParseIPv4(text.substr(end + 1, next - end - 1)).has_value();
}

// A colon after a label ("Address:fd12::1", "IPv6:fe80::1") rather than
// inside an address: the word before it holds a letter no hex digit is.
bool LabelColonBefore(std::string_view text, std::size_t i) {
  if (i == 0 || text[i - 1] != ':') return false;
  std::size_t j = i - 1;
  bool word = false;
  while (j > 0 && IsNameChar(text[j - 1]) && i - j < 64) {
    --j;
    word = word || (IsLetter(text[j]) && !IsHex(text[j]));
  }
  return word || (j == i - 1 && (j == 0 || text[j - 1] != ':'));
}

// A MAC address written without separators is taken only where a label
// says so: "MAC", "Physical Address", "NetworkAddress" earlier on the line.
bool MacLabelBefore(std::string_view text, std::size_t i) {
  std::size_t start = i > 48 ? i - 48 : 0;
  const std::size_t line = text.rfind('\n', i);
  if (line != std::string_view::npos && line + 1 > start) start = line + 1;
  std::string before;
  for (std::size_t k = start; k < i; ++k) before += AsciiLower(text[k]);
  return before.find("mac") != std::string::npos || before.find("address") != std::string::npos;
}

// "xx-xx-...": the two-hex-digit groups joined by one separator from i;
// their count, and where they end.
std::size_t HexGroups(std::string_view text, std::size_t i, char separator, std::size_t& end) {
  std::size_t groups = 0;
  end = i;
  while (end + 1 < text.size() && IsHex(text[end]) && IsHex(text[end + 1])) {
    ++groups;
    end += 2;
    if (end + 2 < text.size() && text[end] == separator && IsHex(text[end + 1])) {
      ++end;
    } else {
      break;
    }
  }
  return groups;
}

}  // namespace

std::string InCaseOf(std::string_view original, std::string_view pseudonym) {
  bool upper = false, lower = false;
  for (char c : original) {
    upper = upper || (c >= 'A' && c <= 'Z');
    lower = lower || (c >= 'a' && c <= 'z');
  }
  return lower && !upper ? Lower(pseudonym) : std::string(pseudonym);
}

std::string TextRedactor::Redact(std::string_view text) {
  return Run(text, true);
}

std::string TextRedactor::Run(std::string_view text, bool replace) {
  std::string out;
  if (replace) out.reserve(text.size() + text.size() / 8);
  std::size_t copied = 0;
  std::size_t i = 0;
  std::size_t afterWide = std::string_view::npos;  // just after a double-byte character
  while (i < text.size()) {
    const char c = text[i];
    // An original that begins with other than a letter or digit (another
    // spelling of a name: UTF-8, HTML-escaped).
    if (!IsAlnum(c) && map_.MayBeginWord(c, '\0') && (i == 0 || !IsAlnum(text[i - 1]))) {
      std::string replacement;
      if (const std::size_t used = Match(text, i, std::string(1, AsciiLower(c)), replacement, replace)) {
        if (replace) {
          out.append(text.substr(copied, i - copied));
          out += replacement;
        }
        i += used;
        copied = i;
        continue;
      }
    }
    // A double-byte character is one character: its trail byte, which may
    // be a letter, never continues a name ("<katakana>VOXTRA01").
    if (static_cast<unsigned char>(c) >= 0x80 && leadBytes_[static_cast<unsigned char>(c)] && i + 1 < text.size()) {
      i += 2;
      afterWide = i;
      continue;
    }
    const bool starts = i == 0 || i == afterWide ||
                        (!IsNameChar(text[i - 1]) && !(text[i - 1] == '.' && i > 1 && IsDigit(text[i - 2])));
    // Inside a longer token, after "_" or "-": known names only
    // ("VOXTRA01_2026"), and the second address of a range.
    const bool inner = !starts && IsAlnum(c) && (text[i - 1] == '_' || text[i - 1] == '-');
    if (!(starts && (IsNameChar(c) || c == ':')) && !inner) {
      ++i;
      continue;
    }
    std::string replacement;
    std::size_t used = 0;
    if (starts) {
      used = Address(text, i, replacement, replace);
      if (used == 0 && IsNameChar(c)) used = Name(text, i, replacement, replace, true);
    } else {
      if (text[i - 1] == '-' && i > 1 && IsDigit(text[i - 2])) used = Address(text, i, replacement, replace);
      if (used == 0) used = Name(text, i, replacement, replace, false);
    }
    if (used == 0) {
      i = IsAlnum(c) ? AlnumEnd(text, i) : i + 1;
      continue;
    }
    if (replace) {
      out.append(text.substr(copied, i - copied));
      // What a pattern found and keeps comes back empty.
      out += replacement.empty() ? text.substr(i, used) : std::string_view(replacement);
    }
    i += used;
    copied = i;
  }
  if (!replace) return {};
  out.append(text.substr(copied));
  return out;
}

void TextRedactor::SetCodePage(std::uint32_t codePage) {
  ansiLeadBytes_.reset();
  const auto lead = [&](int from, int to) {
    for (int b = from; b <= to; ++b) ansiLeadBytes_.set(static_cast<std::size_t>(b));
  };
  switch (codePage) {
    case 932: lead(0x81, 0x9F), lead(0xE0, 0xFC); break;
    case 936:
    case 949:
    case 950: lead(0x81, 0xFE); break;
    default: break;
  }
  ReadAsAnsi(ansi_);
}

std::size_t TextRedactor::Mac(std::string_view text, std::size_t i, const std::vector<std::uint8_t>& mac,
                              std::size_t length, char separator, std::string& out, bool replace) {
  if (IsKeptMac(mac) || map_.IsPseudonym(FormatMac(mac, '-', false))) return length;
  bool upper = false;
  for (std::size_t k = i; k < i + length; ++k) upper = upper || (text[k] >= 'A' && text[k] <= 'F');
  const auto pseudonym = map_.AddMac(mac);
  if (replace) {
    std::string formatted = FormatMac(pseudonym, separator == 0 ? '-' : separator, upper);
    if (separator == 0) {
      formatted.erase(std::remove(formatted.begin(), formatted.end(), '-'), formatted.end());
    } else if (separator == '.') {
      formatted = FormatMac(pseudonym, '-', upper);
      formatted.erase(std::remove(formatted.begin(), formatted.end(), '-'), formatted.end());
      formatted = formatted.substr(0, 4) + "." + formatted.substr(4, 4) + "." + formatted.substr(8);
    }
    out += formatted;
    map_.MarkReplaced(Kind::Mac, FormatMac(mac, '-', false));
  }
  return length;
}

// MAC addresses in the forms other than "xx-xx-xx-xx-xx-xx": the tail of a
// DHCPv6 DUID, "001a.a03c.517e", and "001AA03C517E" (known, or labelled).
std::size_t TextRedactor::OtherMac(std::string_view text, std::size_t i, std::string& out, bool replace) {
  const auto bytesOf = [](std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t k = 0; k + 1 < hex.size(); k += 2) {
      if (hex[k] == '.' || hex[k] == '-' || hex[k] == ':') ++k;
      const auto digit = [](char h) { return IsDigit(h) ? h - '0' : (AsciiLower(h) - 'a' + 10); };
      bytes.push_back(static_cast<std::uint8_t>(digit(hex[k]) * 16 + digit(hex[k + 1])));
    }
    return bytes;
  };
  if (i + 5 < text.size() && (text[i + 2] == '-' || text[i + 2] == ':')) {
    // A DUID begins "00-01-" or "00-03-".
    if (text[i] != '0' || text[i + 1] != '0' || text[i + 3] != '0') return 0;
    std::size_t end = 0;
    const std::size_t groups = HexGroups(text, i, text[i + 2], end);
    std::string head;
    for (std::size_t k = i; k < i + 11 && k < text.size(); ++k) head += AsciiLower(text[k]);
    const std::string sep(1, text[i + 2]);
    const bool llt = groups == 14 && head == "00" + sep + "01" + sep + "00" + sep + "01";
    const bool ll = groups == 10 && head == "00" + sep + "03" + sep + "00" + sep + "01";
    if ((llt || ll) && BoundaryAfter(text, end)) {
      std::vector<std::uint8_t> mac;
      std::string tail;
      for (std::size_t k = end - 17; k < end; ++k) {
        if (text[k] != text[i + 2]) tail += text[k];
      }
      mac = bytesOf(tail);
      if (replace) out.assign(text.substr(i, end - 17 - i));
      std::string rest;
      Mac(text, end - 17, mac, 17, text[i + 2], rest, replace);
      if (replace) out += rest.empty() ? text.substr(end - 17, 17) : std::string_view(rest);
      return end - i;
    }
    return 0;
  }
  std::size_t end = i;
  while (end < text.size() && IsHex(text[end])) ++end;
  const bool after = end >= text.size() || (!IsNameChar(text[end]) && text[end] != '}');
  if (end - i == 4 && end + 10 <= text.size() && text[end] == '.' && text[end + 5] == '.') {
    std::size_t k = end + 1;
    bool dotted = true;
    for (; k < end + 10 && dotted; ++k) dotted = k == end + 5 || IsHex(text[k]);
    if (dotted && (end + 10 == text.size() || (!IsNameChar(text[end + 10]) && text[end + 10] != '.'))) {
      return Mac(text, i, bytesOf(text.substr(i, 14)), 14, '.', out, replace);
    }
  }
  if (end - i != 12 || !after || (i > 0 && (text[i - 1] == '-' || text[i - 1] == '{'))) return 0;
  const auto mac = bytesOf(text.substr(i, 12));
  if (map_.FindKey("m:" + FormatMac(mac, '-', false)) == nullptr && !MacLabelBefore(text, i)) return 0;
  return Mac(text, i, mac, 12, 0, out, replace);
}

std::size_t TextRedactor::Address(std::string_view text, std::size_t i, std::string& out, bool replace) {
  if (i + 17 <= text.size() && (text[i + 2] == '-' || text[i + 2] == ':') && text[i + 5] == text[i + 2] &&
      text[i + 8] == text[i + 2] && text[i + 11] == text[i + 2] && text[i + 14] == text[i + 2] &&
      BoundaryAfter(text, i + 17) && (i + 17 == text.size() || text[i + 17] != text[i + 2])) {
    if (const auto mac = ParseMac(text.substr(i, 17)); mac && !IsKeptMac(*mac)) {
      return Mac(text, i, *mac, 17, text[i + 2], out, replace);
    }
  }
  if (IsHex(text[i])) {
    // Only a run of 2 ("00-01-..."), 4 or 12 hex digits can begin one.
    std::size_t hexEnd = i;
    while (hexEnd < text.size() && IsHex(text[hexEnd]) && hexEnd - i < 13) ++hexEnd;
    const std::size_t run = hexEnd - i;
    if (run == 2 || run == 4 || run == 12) {
      if (const std::size_t used = OtherMac(text, i, out, replace)) return used;
    }
  }
  if (IsDigit(text[i])) {
    std::size_t end = i;
    while (end < text.size() && (IsDigit(text[end]) || text[end] == '.')) ++end;
    while (end > i && text[end - 1] == '.') --end;
    const std::string_view run = text.substr(i, end - i);
    const bool dottedQuad = std::count(run.begin(), run.end(), '.') == 3;
    if (dottedQuad && ((BoundaryAfter(text, end) &&
                        (end >= text.size() || text[end] != ':' || end + 1 >= text.size() || !IsHex(text[end + 1]))) ||
                       PortAfter(text, end) || RangeAfter(text, end))) {
      if (const auto v4 = ParseIPv4(run)) {
        bool leadingZero = false;
        for (std::size_t p = 0; p < run.size(); ++p) {
          leadingZero = leadingZero ||
                        (run[p] == '0' && (p == 0 || run[p - 1] == '.') && p + 1 < run.size() && IsDigit(run[p + 1]));
        }
        if (IsKeptIPv4(*v4) || leadingZero || map_.IsPseudonym(run) || AfterVersionWord(text, i)) return run.size();
        const std::uint32_t pseudonym = map_.AddIPv4(*v4, replace);
        if (replace) out = FormatIPv4(pseudonym);
        return run.size();
      }
    }
  }
  if ((IsHex(text[i]) || text[i] == ':') &&
      (i == 0 || (text[i - 1] != ':' && text[i - 1] != '.') || (text[i] != ':' && LabelColonBefore(text, i)))) {
    std::size_t end = i, colons = 0;
    bool gap = false;
    while (end < text.size() && (IsHex(text[end]) || text[end] == ':' || text[end] == '.')) {
      colons += text[end] == ':';
      gap = gap || (text[end] == ':' && end > i && text[end - 1] == ':');
      ++end;
    }
    while (end > i && text[end - 1] == '.') --end;
    // Eight groups, or fewer with "::" (a time of day such as 22:01:09 is none).
    if (colons >= 2 && (gap || colons >= 6) && (end >= text.size() || !IsNameChar(text[end]))) {
      const std::string_view run = text.substr(i, end - i);
      if (const auto v6 = ParseIPv6(run)) {
        if (IsKeptIPv6(*v6) || map_.IsPseudonym(FormatIPv6(*v6))) return run.size();
        bool upper = false;
        for (char ch : run) upper = upper || (ch >= 'A' && ch <= 'F');
        const auto pseudonym = map_.AddIPv6(*v6);
        if (replace) {
          map_.MarkReplaced(Kind::IPv6, FormatIPv6(*v6));
          out = FormatIPv6(pseudonym);
          if (upper) {
            for (char& ch : out) ch = ch >= 'a' && ch <= 'f' ? static_cast<char>(ch - 'a' + 'A') : ch;
          }
        }
        return run.size();
      }
    }
  }
  return 0;
}

// Names the patterns reveal around a word that starts at i: an e-mail
// address, the host of a UNC path, a DNS name under a known domain.
void TextRedactor::DiscoverAround(std::string_view text, std::size_t i, std::size_t wordEnd) {
  // Most words are none of these: no "@", "+" or "." after them, no "\"
  // before.
  const char after = wordEnd < text.size() ? text[wordEnd] : '\0';
  if (after != '.' && after != '@' && after != '+' && (i == 0 || text[i - 1] != '\\')) return;
  if (i > 0 && text[i - 1] == '\\') ProfileAt(text, i);
  // E-mail: local@domain.tld
  std::size_t at = i;
  while (at < text.size() && (IsNameChar(text[at]) || text[at] == '.' || text[at] == '+')) ++at;
  if (at < text.size() && text[at] == '@' && at > i && at + 1 < text.size() && IsNameChar(text[at + 1])) {
    const std::size_t domainEnd = DottedEnd(text, at + 1);
    const std::string_view domain = text.substr(at + 1, domainEnd - at - 1);
    const std::string_view local = text.substr(i, at - i);
    if (domain.find('.') != std::string_view::npos && local.back() != '.' && !IsKeptName(local) &&
        !map_.IsPseudonym(domain) && !map_.IsPseudonym(local)) {
      map_.AddName(Kind::Domain, domain);
      map_.AddName(Kind::Account, local);
      return;
    }
  }
  // \\HOST: two backslashes (four where they are doubled) after something
  // that is no path.
  std::size_t slashes = 0;
  while (slashes < i && text[i - 1 - slashes] == '\\') ++slashes;
  if (slashes == (doubled_ ? 4u : 2u)) {
    const std::size_t before = i - slashes;
    if (before == 0 || (!IsNameChar(text[before - 1]) && text[before - 1] != ':' && text[before - 1] != '.' &&
                        text[before - 1] != '%')) {
      const std::size_t end = DottedEnd(text, i);
      const std::string_view host = text.substr(i, end - i);
      if (!IsKeptName(host) && !ParseIPv4(host) && !IsDigit(host[0]) && map_.FindName(host) == nullptr &&
          !map_.IsPseudonym(host) && !map_.IsPseudonym(host.substr(0, host.find('.')))) {
        map_.AddName(Kind::Host, host);
      }
      return;
    }
  }
  // A DNS name whose domain is known: its first label is a host. Each
  // dotted name is looked at once (event logs repeat them).
  if (wordEnd < text.size() && text[wordEnd] == '.' && IsLetter(text[i])) {
    const std::size_t end = DottedEnd(text, i);
    const std::string_view name = text.substr(i, end - i);
    // Logs repeat one name line after line: the last one is known at once.
    if (name == lastDotted_ && lastDottedDomains_ == map_.DomainChanges()) return;
    lastDotted_.assign(name);
    lastDottedDomains_ = map_.DomainChanges();
    key_.assign("n:");
    for (char ch : name) key_ += AsciiLower(ch);
    // Only a shortcut: forgotten, a name is merely looked at again. Bounded,
    // for logs full of dotted words of their own (file names, say).
    if (dottedSeen_.size() >= kDottedSeenLimit) dottedSeen_.clear();
    const auto [seen, added] = dottedSeen_.try_emplace(key_, map_.DomainChanges());
    if (!added && seen->second == map_.DomainChanges()) return;
    seen->second = map_.DomainChanges();
    for (std::size_t dot = name.find('.'); dot != std::string_view::npos; dot = name.find('.', dot + 1)) {
      const std::string suffixKey = "n:" + key_.substr(2 + dot + 1);
      const MapEntry* domain = map_.FindKey(suffixKey);
      if (domain == nullptr || domain->kind != Kind::Domain) continue;
      if (map_.FindKey(key_) == nullptr && !IsKeptName(name.substr(0, name.find('.')))) {
        map_.AddName(Kind::Host, name);
      }
      return;
    }
    // A host under a domain the package names nowhere else.
    if (map_.FindKey(key_) == nullptr && IsForeignHostName(name)) map_.AddName(Kind::Host, name);
  }
}

// A profile folder names its account: "C:\Users\mwilson",
// "C:\Documents and Settings\mwilson" (backslashes doubled or not).
void TextRedactor::ProfileAt(std::string_view text, std::size_t i) {
  std::size_t j = i;
  while (j > 0 && text[j - 1] == '\\' && i - j < 2) --j;
  for (const std::string_view folder : {std::string_view("users"), std::string_view("documents and settings")}) {
    if (j < folder.size() + 1) continue;
    const std::size_t start = j - folder.size();
    if (text[start - 1] != '\\') continue;
    bool same = true;
    for (std::size_t k = 0; k < folder.size() && same; ++k) same = AsciiLower(text[start + k]) == folder[k];
    if (!same) continue;
    const std::string_view user = text.substr(i, DottedEnd(text, i) - i);
    key_.assign("n:");
    for (char ch : user) key_ += AsciiLower(ch);
    if (map_.FindKey(key_) == nullptr && !IsKeptName(user)) map_.AddName(Kind::Account, user);
    return;
  }
}

void TextRedactor::AccountAt(std::string_view text, std::size_t j) {
  std::size_t slashes = 0;
  while (j < text.size() && text[j] == '\\' && slashes < 2) ++j, ++slashes;
  if (slashes == 0 || j >= text.size() || !IsNameChar(text[j])) return;
  const std::string_view user = text.substr(j, WordEnd(text, j) - j);
  key_.assign("n:");
  for (char ch : user) key_ += AsciiLower(ch);
  if (map_.FindKey(key_) == nullptr && !IsKeptName(user)) map_.AddName(Kind::Account, user);
}

void TextRedactor::Collect(std::string_view text) {
  std::size_t done = 0;  // what lies before was looked at
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (c != '.' && c != '@' && c != '\\') continue;
    if (c == '\\') {
      std::size_t end = k;
      while (end < text.size() && text[end] == '\\') ++end;
      // The token before: a domain of "DOMAIN\user"?
      std::size_t start = k;
      while (start > done && (IsNameChar(text[start - 1]) || text[start - 1] == '.') && k - start < 256) --start;
      if (start < k && end - k <= 2) {
        key_.assign("n:");
        for (std::size_t m = start; m < k; ++m) key_ += AsciiLower(text[m]);
        const MapEntry* entry = map_.FindKey(key_);
        if (entry != nullptr && entry->kind == Kind::Domain) AccountAt(text, k);
      }
      // A UNC host after the slashes.
      if (end < text.size() && IsNameChar(text[end])) {
        DiscoverAround(text, end, WordEnd(text, end));
        done = DottedEnd(text, end);
      }
      k = end - 1;
      continue;
    }
    // "." or "@" inside a token: the token, from its start, once.
    if (k == 0 || !IsNameChar(text[k - 1])) continue;
    std::size_t start = k;
    while (start > done && (IsNameChar(text[start - 1]) || text[start - 1] == '.' || text[start - 1] == '+') &&
           k - start < 256) {
      --start;
    }
    while (start < k && !IsNameChar(text[start])) ++start;
    if (start < done || start == k) continue;
    const std::size_t end = c == '@' ? k : DottedEnd(text, start);
    DiscoverAround(text, start, WordEnd(text, start));
    done = end;
    k = end > k ? end - 1 : k;
  }
}

std::size_t TextRedactor::Name(std::string_view text, std::size_t i, std::string& out, bool replace, bool discover) {
  const std::size_t wordEnd = AlnumEnd(text, i);
  if (discover) {
    // The word with "_" and "-" ends where its letters and digits do, mostly.
    const bool joined = wordEnd < text.size() && (text[wordEnd] == '_' || text[wordEnd] == '-');
    DiscoverAround(text, i, joined ? WordEnd(text, wordEnd) : wordEnd);
  }
  if (wordEnd == i) return 0;
  if (!map_.MayBeginWord(AsciiLower(text[i]), wordEnd - i > 1 ? AsciiLower(text[i + 1]) : '\0')) return 0;
  lower_.assign(text.substr(i, wordEnd - i));
  for (char& ch : lower_) ch = ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
  return Match(text, i, lower_, out, replace);
}

std::size_t TextRedactor::Match(std::string_view text, std::size_t i, const std::string& firstWord, std::string& out,
                                bool replace) {
  const auto* candidates = map_.Candidates(firstWord);
  if (candidates == nullptr) return 0;
  for (const std::size_t index : *candidates) {
    const MapEntry& entry = map_.Entry(index);
    const std::size_t length = entry.original.size();
    if (i + length > text.size()) continue;
    // A name ends where no letter or digit continues it ("VOXTRA01_2026").
    if (i + length < text.size() && IsAlnum(text[i + length]) && IsAlnum(entry.original.back())) continue;
    const std::string_view found = text.substr(i, length);
    bool same = true;
    for (std::size_t k = 0; k < length && same; ++k) {
      same = AsciiLower(found[k]) == AsciiLower(entry.original[k]);
    }
    if (!same) continue;
    if (replace) {
      map_.MarkReplaced(entry);
      out = InCaseOf(found, entry.pseudonym);
    }
    // DOMAIN\user: the user is an account of that domain.
    if (entry.kind == Kind::Domain) AccountAt(text, i + length);
    return length;
  }
  return 0;
}

}  // namespace fernwick::redaction
