#include "comparison/server_identity.h"

#include <charconv>
#include <cstdlib>

#include "common/text.h"
#include "comparison/report_lines.h"

namespace fernwick::comparison {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, long long m, long long d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// The first `count` numbers of `text` (at least 6), the separators between
// them skipped; `before` collects the character before each.
bool Numbers(std::string_view text, long long* out, std::size_t count, char* before) {
  std::size_t found = 0, i = 0;
  while (i < text.size() && found < count) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    before[found] = i > 0 ? text[i - 1] : ' ';
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), out[found]);
    if (error != std::errc()) return false;
    i = static_cast<std::size_t>(end - text.data());
    ++found;
  }
  return found == count || found == 6;
}

std::optional<long long> Seconds(std::string_view text) {
  long long n[8] = {};
  char before[8] = {};
  const bool iso = text.size() > 4 && text[4] == '-';
  if (!Numbers(text, n, iso ? 8 : 6, before)) return std::nullopt;
  const long long year = iso ? n[0] : n[2], month = iso ? n[1] : n[0], day = iso ? n[2] : n[1];
  if (month < 1 || month > 12 || day < 1 || day > 31 || n[3] > 23 || n[4] > 59 || n[5] > 60) return std::nullopt;
  long long seconds = DaysFromCivil(year, month, day) * 86400 + n[3] * 3600 + n[4] * 60 + n[5];
  if (iso && (before[6] == '+' || before[6] == '-')) {
    const long long offset = n[6] * 3600 + n[7] * 60;
    seconds += before[6] == '+' ? -offset : offset;
  }
  return seconds;
}

}  // namespace

ReportIdentity IdentityOf(std::span<const std::string> lines) {
  ReportIdentity identity;
  for (const auto& line : lines) {
    const auto value = LabelledValue(line);
    if (!value) continue;
    const std::string label = LineLabel(line);
    std::string* field = label == "Voxtra server name" ? &identity.name
                         : label == "Voxtra System ID" ? &identity.systemId
                         : label == "Gather Date/Time" ? &identity.gathered
                         : label == "TORB Version"     ? &identity.fernwick
                                                       : nullptr;
    if (field != nullptr && field->empty()) *field = *value;
  }
  return identity;
}

bool SameServer(const ReportIdentity& a, const ReportIdentity& b) {
  if (!EqualsNoCase(a.name, b.name)) return false;
  return a.systemId.empty() || b.systemId.empty() || EqualsNoCase(a.systemId, b.systemId);
}

std::optional<long long> SecondsBetween(std::string_view older, std::string_view newer) {
  const auto a = Seconds(older);
  const auto b = Seconds(newer);
  if (!a || !b) return std::nullopt;
  return *b - *a;
}

std::string Duration(long long seconds) {
  seconds = std::llabs(seconds);
  if (seconds < 60) return "less than a minute";
  const long long days = seconds / 86400, hours = seconds / 3600 % 24, minutes = seconds / 60 % 60;
  std::string out;
  auto add = [&](long long n, std::string_view unit) {
    if (n == 0) return;
    if (!out.empty()) out += ", ";
    out += std::to_string(n) + " " + std::string(unit) + (n == 1 ? "" : "s");
  };
  add(days, "day");
  add(hours, "hour");
  add(minutes, "minute");
  return out;
}

}  // namespace fernwick::comparison
