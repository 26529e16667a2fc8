#pragma once
// The records of a CSV file as Fernwick's programs write them (RFC 4180:
// fields separated by commas, a field with a comma, quote or line end in
// double quotes with its quotes doubled, records ending in CR LF or LF), read
// one record at a time, so that a big file costs one record's memory beside
// its bytes. Bytes are kept as they are: the caller knows the code page.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::comparison {

class CsvRecords {
 public:
  explicit CsvRecords(std::string_view text) : text_(text) {}
  // The next record's fields into `fields`; false at the end of the text.
  // A record longer than `kMaxRecordBytes` (a forged file, a quote never
  // closed) ends the reading: Failed() then says so.
  bool Next(std::vector<std::string>& fields);
  bool Failed() const { return failed_; }

  static constexpr std::size_t kMaxRecordBytes = 1u << 20;

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  bool failed_ = false;
};

// `text` without a leading UTF-8 byte-order mark; `hadMark` says whether it
// had one.
std::string_view WithoutByteOrderMark(std::string_view text, bool& hadMark);

}  // namespace fernwick::comparison
