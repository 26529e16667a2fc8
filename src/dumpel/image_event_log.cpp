#include "dumpel/image_event_log.h"

#include <algorithm>
#include <cstdio>

namespace fernwick::dumpel {
namespace {

struct Failure {
  std::string message;
};

std::string Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 1 < field.size()) {
      const char next = field[++i];
      out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else {
      out += field[i];
    }
  }
  return out;
}

unsigned long Number(const std::string& text, unsigned long limit, const char* what) {
  if (text.empty() || text.size() > 10 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    throw Failure{std::string(what) + " must be a number, not \"" + text + "\""};
  }
  const unsigned long value = std::stoul(text);
  if (value > limit) throw Failure{std::string(what) + " " + text + " is too large"};
  return value;
}

EventRecord Record(std::string_view line) {
  std::vector<std::string> fields;
  for (std::size_t start = 0;;) {
    const auto tab = line.find('\t', start);
    fields.push_back(
        Unescape(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start)));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (fields.size() < 7) throw Failure{"a record needs at least 7 tab-separated fields"};
  EventRecord r;
  char tail = 0;
  if (fields[0].size() != 19 || std::sscanf(fields[0].c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &r.year, &r.month, &r.day,
                                            &r.hour, &r.minute, &r.second, &tail) != 6) {
    throw Failure{"the time must read YYYY-MM-DD HH:MM:SS, not \"" + fields[0] + "\""};
  }
  if (r.year < 1970 || r.month < 1 || r.month > 12 || r.day < 1 || r.day > 31 || r.hour > 23 || r.minute > 59 ||
      r.second > 59) {
    throw Failure{"no such time: \"" + fields[0] + "\""};
  }
  r.type = fields[1];
  r.category = static_cast<std::uint16_t>(Number(fields[2], 0xFFFF, "the category"));
  r.eventId = static_cast<std::uint32_t>(Number(fields[3], 0xFFFFFFFF, "the event id"));
  r.source = fields[4];
  r.user = fields[5];
  r.computer = fields[6];
  r.strings.assign(fields.begin() + 7, fields.end());
  return r;
}

}  // namespace

std::variant<std::vector<EventRecord>, EventLogError> ParseImageEventLog(std::string_view text) {
  std::vector<EventRecord> records;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    try {
      records.push_back(Record(line));
    } catch (const Failure& failure) {
      return EventLogError{number, failure.message};
    }
  }
  return records;
}

}  // namespace fernwick::dumpel
