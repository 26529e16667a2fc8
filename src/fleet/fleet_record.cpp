#include "fleet/fleet_record.h"

#include <istream>
#include <ostream>

#include "common/text.h"

namespace fernwick::fleet {
namespace {

void WriteLine(std::ostream& out, std::string_view kind, std::initializer_list<std::string_view> fields) {
  out << kind;
  for (std::string_view field : fields) out << '\t' << EscapeField(field);
  out << '\n';
}

// Days since 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

std::optional<long long> DayOf(std::string_view iso) {
  if (iso.size() < 10 || iso[4] != '-' || iso[7] != '-') return std::nullopt;
  unsigned parts[3] = {0, 0, 0};
  const std::size_t at[3][2] = {{0, 4}, {5, 2}, {8, 2}};
  for (int i = 0; i < 3; ++i) {
    for (std::size_t k = 0; k < at[i][1]; ++k) {
      const char c = iso[at[i][0] + k];
      if (c < '0' || c > '9') return std::nullopt;
      parts[i] = parts[i] * 10 + static_cast<unsigned>(c - '0');
    }
  }
  if (parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31) return std::nullopt;
  return DaysFromCivil(parts[0], parts[1], parts[2]);
}

}  // namespace

std::string FactLabel(std::string_view section, std::string_view label) {
  std::string fact(section);
  if (fact.ends_with(':')) fact.pop_back();
  return fact + ": " + std::string(label);
}

std::string EscapeField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (char c : field) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const char next = field[++i];
    out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

void WriteServer(std::ostream& out, const FleetServer& s) {
  WriteLine(out, "server",
            {s.cab, s.name, s.systemId, s.gathered, s.fernwick, s.voxtra, s.windows, s.store, s.sql, s.from});
}

void WriteFinding(std::ostream& out, const FleetFinding& f) {
  WriteLine(out, "finding", {f.id, f.severity, f.status, f.evidence, f.fact});
}

void WriteFact(std::ostream& out, const FleetFact& fact) {
  WriteLine(out, "fact", {fact.label, fact.value});
}

void WriteFailure(std::ostream& out, std::string_view cab, std::string_view reason) {
  WriteLine(out, "failed", {cab, reason});
}

std::optional<FleetRecord> ReadRecord(std::istream& in) {
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  FleetRecord record;
  const auto fields = Split(line, '\t');
  record.kind = std::string(fields.front());
  for (std::size_t i = 1; i < fields.size(); ++i) record.fields.push_back(UnescapeField(fields[i]));
  return record;
}

std::optional<long long> AgeInDays(std::string_view gathered, std::string_view asOf) {
  const auto from = DayOf(gathered), to = DayOf(asOf);
  if (!from || !to) return std::nullopt;
  return *to - *from;
}

std::string_view WorseSeverity(std::string_view a, std::string_view b) {
  const auto rank = [](std::string_view s) { return s == "error" ? 0 : s == "warning" ? 1 : s == "notice" ? 2 : 3; };
  return rank(b) < rank(a) ? b : a;
}

}  // namespace fernwick::fleet
