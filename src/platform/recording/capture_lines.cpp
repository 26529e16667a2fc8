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
    if (!fields[i]) {
      line += "\\N";
      continue;
    }
    // A line that begins with ';' is a comment.
    if (i == 0 && !fields[i]->empty() && fields[i]->front() == ';') line.push_back('\\');
    AppendEscaped(line, *fields[i]);
  }
  line.push_back('\n');
  return line;
}

std::size_t CaptureLineText::FieldCount() const {
  std::size_t count = 1;
  for (const char c : text_) count += c == '\t' ? 1 : 0;
  return count;
}

bool CaptureLineText::NextField(CaptureField& field) {
  if (done_) return false;
  const std::size_t tab = text_.find('\t', next_);
  field = Unescape(text_.substr(next_, tab == std::string_view::npos ? std::string_view::npos : tab - next_));
  if (tab == std::string_view::npos) {
    done_ = true;
  } else {
    next_ = tab + 1;
  }
  return true;
}

std::vector<CaptureField> CaptureLineText::RestOfFields() {
  std::vector<CaptureField> fields;
  for (CaptureField field; NextField(field);) fields.push_back(std::move(field));
  return fields;
}

void ForEachCaptureLine(std::string_view text, const std::function<void(CaptureLineText&)>& visit) {
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
    CaptureLineText kept(number, line);
    visit(kept);
  }
}

std::vector<CaptureLine> SplitCaptureLines(std::string_view text) {
  std::vector<CaptureLine> lines;
  ForEachCaptureLine(text, [&](CaptureLineText& line) { lines.push_back({line.Number(), line.RestOfFields()}); });
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
