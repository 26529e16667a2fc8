#include "platform/recording/capture_lines.h"

#include <cstdint>

namespace fernwick::recording {
namespace {

void AppendEscaped(std::string& out, std::string_view field) {
  for (const char c : field) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\\': out += "\\\\"; break;
      default: out.push_back(c);
    }
  }
}

CaptureField Unescape(std::string_view field) {
  if (field == "\\N") return std::nullopt;
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out.push_back(field[i]);
      continue;
    }
    const char next = field[++i];
    out.push_back(next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next);
  }
  return out;
}

}  // namespace

std::string JoinCaptureLine(const std::vector<CaptureField>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line.push_back('\t');
    if (fields[i]) {
      AppendEscaped(line, *fields[i]);
    } else {
      line += "\\N";
    }
  }
  line.push_back('\n');
  return line;
}

std::vector<CaptureLine> SplitCaptureLines(std::string_view text) {
  std::vector<CaptureLine> lines;
  int number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    CaptureLine parsed{number, {}};
    std::size_t from = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', from);
      parsed.fields.push_back(Unescape(line.substr(from, tab == std::string_view::npos ? line.npos : tab - from)));
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    lines.push_back(std::move(parsed));
  }
  return lines;
}

std::optional<std::uint32_t> ParseHexWord(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::optional<unsigned long long> ParseDecimal(std::string_view text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  unsigned long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned long long>(c - '0');
  }
  return value;
}

}  // namespace fernwick::recording
