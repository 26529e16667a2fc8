#include "comparison/csv_records.h"

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
