#pragma once
// The configuration database as the report sees it: a query opens a record
// set whose rows are all known at once (keyset semantics: the row count is
// right after opening), and a short-lived server connection.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fernwick::platform {

// One field; nullopt is SQL NULL.
using FieldValue = std::optional<std::string>;

// Which fields of a record set were read, row by row ([row][column]), and
// which columns were asked for at all (past the last row too).
struct FieldReads {
  std::vector<std::vector<bool>> rows;
  std::vector<bool> asked;
  std::size_t byIndex = 0;  // the columns before the last one asked for by its index
};

// Rows kept elsewhere in a compact form (a recorded answer), given one at a
// time: a record set over them holds only the row it is on, and its copies
// share them.
class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual std::size_t Count() const = 0;
  // The fields of row `index` (< Count()).
  virtual std::vector<FieldValue> Row(std::size_t index) const = 0;
};

class RecordSet {
 public:
  RecordSet() = default;
  RecordSet(std::vector<std::string> columns, std::vector<std::vector<FieldValue>> rows);
  RecordSet(std::vector<std::string> columns, std::shared_ptr<const RowSource> rows);

  long RecordCount() const { return static_cast<long>(RowCount()); }
  void MoveFirst() { position_ = 0; }
  void MoveNext();
  bool Eof() const { return position_ >= RowCount(); }
  // The current row's field by column name (case-insensitive) or index.
  // Raises "no current record" past the end and "item not found" for an
  // unknown column.
  const FieldValue& Field(const std::string& column) const;
  const FieldValue& Field(std::size_t index) const;
  const std::vector<std::string>& Columns() const { return columns_; }
  void Close();

  // From now on this record set and its copies note each field read, in
  // one record they share (a recording keeps only what was read).
  void TrackReads();
  // Notes the reads of this record set in `other`'s record (the same answer
  // asked for again).
  void ShareReadsWith(const RecordSet& other);
  // The shared record; null unless tracked.
  const std::shared_ptr<FieldReads>& Reads() const { return reads_; }
  std::size_t RowCount() const { return source_ ? source_->Count() : rows_.size(); }
  // The fields of one row (< RowCount()), without noting a read.
  std::vector<FieldValue> RowAt(std::size_t index) const;

 private:
  const std::vector<FieldValue>& CurrentRow() const;
  const FieldValue& Read(std::size_t column) const;

  std::vector<std::string> columns_;
  std::vector<std::vector<FieldValue>> rows_;
  std::shared_ptr<const RowSource> source_;  // else the rows are rows_
  // The row of source_ a field was last read from, and its number.
  mutable std::vector<FieldValue> current_;
  mutable std::size_t currentIndex_ = static_cast<std::size_t>(-1);
  std::size_t position_ = 0;
  std::shared_ptr<FieldReads> reads_;
};

class ServerConnection {
 public:
  virtual ~ServerConnection() = default;
  // Runs one SQL text; throws RuntimeError when the server refuses it.
  virtual RecordSet Execute(const std::string& sql) = 0;
};

class ConfigDatabase {
 public:
  virtual ~ConfigDatabase() = default;
  // Opens a read-only record set; throws RuntimeError on any failure.
  virtual RecordSet OpenQuery(const std::string& sql, const std::string& connectionString) = 0;
  // Opens the server connection ("Provider=SQLOLEDB;Server=...");
  // throws RuntimeError when the server cannot be reached.
  virtual std::unique_ptr<ServerConnection> OpenServer(const std::string& connectionString) = 0;
};

}  // namespace fernwick::platform
