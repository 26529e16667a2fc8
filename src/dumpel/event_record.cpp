#include "dumpel/event_record.h"

#include <cstdio>

namespace fernwick::dumpel {
namespace {

std::string Field(std::string text, char separator) {
  bool quote = false;
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    if (c == separator || c == '"') quote = true;
  }
  if (!quote) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string TwoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

}  // namespace

std::string EventTypeName(std::uint16_t type) {
  switch (type) {
    case 0x0000: return "Success";
    case 0x0001: return "Error";
    case 0x0002: return "Warning";
    case 0x0004: return "Information";
    case 0x0008: return "Audit Success";
    case 0x0010: return "Audit Failure";
    default: return "Unknown";
  }
}

std::string FormatRecord(const EventRecord& r, const std::string& letters, char separator) {
  std::string line;
  bool first = true;
  for (char letter : letters) {
    std::string value;
    switch (letter) {
      case 'd': value = TwoDigits(r.month) + "/" + TwoDigits(r.day) + "/" + std::to_string(r.year); break;
      case 't': value = TwoDigits(r.hour) + ":" + TwoDigits(r.minute) + ":" + TwoDigits(r.second); break;
      case 'T': value = r.type; break;
      case 'C': value = std::to_string(r.category); break;
      case 'I': value = std::to_string(r.eventId & 0xFFFF); break;
      case 'S': value = r.source; break;
      case 'u': value = r.user; break;
      case 'c': value = r.computer; break;
      case 's':
        for (std::size_t i = 0; i < r.strings.size(); ++i) value += (i > 0 ? " " : "") + r.strings[i];
        break;
      default: continue;
    }
    if (!first) line += separator;
    first = false;
    line += Field(std::move(value), separator);
  }
  return line;
}

long long DaysFromCivil(int year, int month, int day) {
  const long long y = year - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yearOfEra = y - era * 400;
  const long long dayOfYear = (153LL * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

long long LocalSeconds(const EventRecord& r) {
  return LocalSeconds(r.year, r.month, r.day, r.hour, r.minute, r.second);
}

long long LocalSeconds(int year, int month, int day, int hour, int minute, int second) {
  return DaysFromCivil(year, month, day) * 86400LL + hour * 3600LL + minute * 60LL + second;
}

}  // namespace fernwick::dumpel
