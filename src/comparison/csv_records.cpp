#include "comparison/csv_records.h"

#include <algorithm>

namespace fernwick::comparison {

bool CsvRecords::Next(std::vector<std::string>& fields) {
  fields.clear();
  if (failed_ || at_ >= text_.size()) return false;
  const std::size_t start = at_;
  fields.emplace_back();
  bool quoted = false;
  while (at_ < text_.size()) {
    if (at_ - start > kMaxRecordBytes) {
      failed_ = true;
      fields.clear();
      return false;
    }
    // Plain characters go over in one piece up to the next that matters.
    const std::size_t plain = text_.find_first_of(quoted ? std::string_view("\"") : std::string_view("\",\r\n"), at_);
    const std::size_t stop =
        std::min(plain == std::string_view::npos ? text_.size() : plain, start + kMaxRecordBytes + 1);
    if (stop > at_) {
      fields.back().append(text_.substr(at_, stop - at_));
      at_ = stop;
      continue;
    }
    const char c = text_[at_++];
    if (quoted) {
      if (c != '"') {
        fields.back() += c;
      } else if (at_ < text_.size() && text_[at_] == '"') {
        fields.back() += '"';
        ++at_;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else if (c == '\n') {
      break;
    } else if (c == '\r' && at_ < text_.size() && text_[at_] == '\n') {
      ++at_;
      break;
    } else {
      fields.back() += c;
    }
  }
  return true;
}

std::string_view WithoutByteOrderMark(std::string_view text, bool& hadMark) {
  hadMark = text.starts_with("\xEF\xBB\xBF");
  return hadMark ? text.substr(3) : text;
}

}  // namespace fernwick::comparison
