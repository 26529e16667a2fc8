#include "report/report_heading.h"

#include <array>
#include <charconv>
#include <optional>

#include "common/text.h"

namespace fernwick::report {
namespace {

// The text after `label` when `line`, its indent left out, begins with it.
std::optional<std::string> After(std::string_view line, std::string_view label) {
  const auto start = line.find_first_not_of(' ');
  if (start == std::string_view::npos || !line.substr(start).starts_with(label)) return std::nullopt;
  return Trim(line.substr(start + label.size()));
}

struct Fact {
  std::string_view label;
  std::string ServerIdentity::*field;
};

// The first line of each label counts: each is written once.
const std::array kFacts = {
    Fact{"TORB Version = ", &ServerIdentity::fernwickVersion},
    Fact{"Gather Date/Time = ", &ServerIdentity::gathered},
    Fact{"Voxtra server name = ", &ServerIdentity::name},
    Fact{"Voxtra System ID = ", &ServerIdentity::systemId},
    Fact{"Voxtra version = ", &ServerIdentity::version},
    Fact{"SQL Version = ", &ServerIdentity::sqlVersion},
    Fact{"Windows version = ", &ServerIdentity::windows},
    Fact{"Partner Exchange Server Name = ", &ServerIdentity::partner},
    Fact{"Partner Exchange Server Name= ", &ServerIdentity::partner},
    Fact{"Partner Domino Server = ", &ServerIdentity::partner},
};

// "5.2 Build 3790: Service Pack 2" -> 5, 2.
void ReadWindowsVersion(std::string_view text, WindowsFacts& facts) {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  const char* end = text.data() + text.size();
  const auto [dot, majorError] = std::from_chars(text.data(), end, major);
  if (majorError != std::errc() || dot == end || *dot != '.') return;
  const auto [after, minorError] = std::from_chars(dot + 1, end, minor);
  if (minorError != std::errc() || after == dot + 1) return;
  facts.major = major;
  facts.minor = minor;
}

bool Names64BitWindows(std::string_view line) {
  return ContainsNoCase(line, "Program Files (x86)") || ContainsNoCase(line, "Wow6432Node");
}

bool Names64BitSqlServer(std::string_view sqlVersion) {
  return ContainsNoCase(sqlVersion, "X64") || ContainsNoCase(sqlVersion, "IA64");
}

}  // namespace

ServerIdentity ReadHeading(const std::vector<std::string>& lines, std::uint32_t codePage) {
  ServerIdentity identity;
  identity.codePage = codePage;
  std::array<bool, kFacts.size()> seen{};
  bool names64Bit = false;
  for (const std::string& line : lines) {
    for (std::size_t f = 0; f < kFacts.size(); ++f) {
      if (seen[f]) continue;
      if (auto value = After(line, kFacts[f].label)) {
        identity.*kFacts[f].field = std::move(*value);
        seen[f] = true;
      }
    }
    // The back end's line, then the partner's release where the report names it.
    if (auto backEnd = After(line, "Back end is ")) identity.backEnd = std::move(*backEnd);
    if (auto partner = After(line, "Partner is ")) identity.backEnd = std::move(*partner);
    names64Bit = names64Bit || Names64BitWindows(line);
  }
  // Exchange 2000 and later name no release where the store is not set; the
  // partner's label is that of the Active Directory connector.
  if (identity.backEnd.empty()) {
    for (const std::string& line : lines) {
      if (After(line, "Partner Exchange Server Name= ")) identity.backEnd = "Exchange (Active Directory)";
    }
  }
  ReadWindowsVersion(identity.windows, identity.windowsFacts);
  if (names64Bit || Names64BitSqlServer(identity.sqlVersion)) identity.windowsFacts.bits = 64;
  identity.windowsFacts.bits = BitsOf(identity.windowsFacts);
  return identity;
}

std::string IsoGathered(std::string_view gathered) {
  // mm-dd-yyyy / hh:mm:ss
  constexpr std::string_view kShape = "00-00-0000 / 00:00:00";
  if (gathered.size() != kShape.size()) return {};
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = gathered[i] >= '0' && gathered[i] <= '9';
    if (kShape[i] == '0' ? !digit : gathered[i] != kShape[i]) return {};
  }
  const auto part = [&](std::size_t at, std::size_t length) { return std::string(gathered.substr(at, length)); };
  return part(6, 4) + "-" + part(0, 2) + "-" + part(3, 2) + "T" + part(13, 8);
}

}  // namespace fernwick::report
