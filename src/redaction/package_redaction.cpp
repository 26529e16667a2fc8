#include "redaction/package_redaction.h"

#include <vector>

#include "redaction/keyword_file.h"
#include "report/html_text.h"

namespace fernwick::redaction {
namespace {

bool EqualsLower(std::string_view a, std::string_view b) {
  return Lower(a) == Lower(b);
}

}  // namespace

bool IsStreamedFile(std::string_view name) {
  return EqualsLower(name, "system_event_log.csv") || EqualsLower(name, "application_event_log.csv");
}

bool IsCollectedFile(std::string_view name) {
  return EqualsLower(name, "VoxtraSystemInfo.txt") || EqualsLower(name, "ServiceInfo.csv");
}

void LearnNames(TextRedactor& redactor, const std::function<void()>& discoverFiles,
                const std::function<void()>& collectLogs) {
  const RedactionMap& map = redactor.Map();
  std::size_t domainsWhenRead = 0;
  for (int reading = 0; reading < 3; ++reading) {
    discoverFiles();
    if (reading > 0 && map.DomainChanges() == domainsWhenRead) return;
    domainsWhenRead = map.DomainChanges();
    const std::size_t known = map.Entries().size();
    collectLogs();
    if (map.Entries().size() == known) return;
  }
  discoverFiles();
}

std::string RedactionNote(const std::map<Kind, int>& counts) {
  struct Shown {
    std::vector<Kind> kinds;
    const char* one;
    const char* many;
  };
  const Shown shown[] = {
      {{Kind::Host}, "host name", "host names"},          {{Kind::Domain, Kind::Label}, "domain name", "domain names"},
      {{Kind::Account}, "account name", "account names"}, {{Kind::Name}, "other name", "other names"},
      {{Kind::Keyword}, "keyword", "keywords"},           {{Kind::IPv4}, "IPv4 address", "IPv4 addresses"},
      {{Kind::IPv6}, "IPv6 address", "IPv6 addresses"},   {{Kind::Mac}, "MAC address", "MAC addresses"},
  };
  std::string parts;
  for (const auto& s : shown) {
    int n = 0;
    for (const Kind k : s.kinds) {
      if (const auto found = counts.find(k); found != counts.end()) n += found->second;
    }
    if (!parts.empty()) parts += ", ";
    parts += std::to_string(n) + " " + (n == 1 ? s.one : s.many);
  }
  return "VoxtraInfo.cab is redacted: " + parts +
         " replaced by pseudonyms. The map of originals and pseudonyms stays on the server.";
}

std::string KeptNote(const std::map<std::string, KeptName>& kept) {
  if (kept.empty()) return {};
  std::string list;
  for (const auto& [lower, name] : kept) {
    if (!list.empty()) list += "; ";
    list += Quoted(name.original) + " (" + std::string(KindName(name.kind)) + ", " + name.reason + ")";
  }
  return " Kept as they are, so that the server image still replays: " + list + ".";
}

std::string KindPhrase(Kind kind) {
  switch (kind) {
    case Kind::Host: return "a host name";
    case Kind::Domain:
    case Kind::Label: return "a domain name";
    case Kind::Account: return "an account name";
    case Kind::Keyword: return "a keyword";
    case Kind::IPv4:
    case Kind::Subnet4: return "an IPv4 address";
    case Kind::IPv6:
    case Kind::Prefix6: return "an IPv6 address";
    case Kind::Mac: return "a MAC address";
    default: return "a name";
  }
}

std::size_t CheckedOriginals(const RedactionMap& map) {
  std::size_t n = 0;
  for (const auto& e : map.Entries()) {
    n += !e.IsAlias() && e.kind != Kind::Label && e.kind != Kind::Subnet4 && e.kind != Kind::Prefix6;
  }
  return n;
}

std::string CheckNote(std::size_t originals, std::size_t files) {
  return "Checked before packing: none of the map's " + std::to_string(originals) + " original" +
         (originals == 1 ? "" : "s") + " (names, keywords and addresses) stands in any of the " +
         std::to_string(files) + " packed file" + (files == 1 ? "" : "s") +
         " or their names, the server image's included, read as ANSI, UTF-8, UTF-16LE and HTML text in any "
         "letter case.";
}

std::string LengthDependentLines(std::string_view report, std::string_view redactedReport) {
  constexpr std::string_view kListStart = "The following are missing :";
  constexpr std::string_view kCut = "<more prompts are missing but are not displayed>";
  const auto listLength = [&](std::string_view text) {
    const std::size_t start = text.find(kListStart);
    const std::size_t cut = text.find(kCut);
    return start == std::string_view::npos || cut == std::string_view::npos || cut < start ? std::string_view::npos
                                                                                           : cut - start;
  };
  const std::size_t before = listLength(report), after = listLength(redactedReport);
  if (after == std::string_view::npos || before == after) return {};
  return " The list of missing prompts (\"Prompts : *Warning* - The following are missing :\") may end a line "
         "earlier or later when this CAB's server image is replayed: it is cut after a number of characters, and "
         "paths in it hold names whose pseudonyms are longer or shorter.";
}

std::string SummaryWithNote(std::string_view html, std::string_view note) {
  const std::string paragraph = "<p class=\"redacted\"><strong>" + report::HtmlUtf8Text(note) + "</strong></p>\r\n";
  std::size_t at = html.find("</h1>\r\n");
  if (at != std::string_view::npos) {
    at += 7;
  } else {
    at = html.find("<body>\r\n");
    at = at == std::string_view::npos ? 0 : at + 8;
  }
  return std::string(html.substr(0, at)) + paragraph + std::string(html.substr(at));
}

std::string RedactedEntryName(std::string_view name, TextRedactor& redactor) {
  // The parts are redacted one by one: a folder "C" or "drives" stays.
  std::string out;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = name.find_first_of("\\/", start);
    const auto part = name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    out += redactor.Redact(part);
    if (end == std::string_view::npos) return out;
    out += name[end];
    start = end + 1;
  }
}

}  // namespace fernwick::redaction
