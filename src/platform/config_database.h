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

class RecordSet {
 public:
  RecordSet() = default;
  RecordSet(std::vector<std::string> columns, std::vector<std::vector<FieldValue>> rows);

  long RecordCount() const { return static_cast<long>(rows_.size()); }
  void MoveFirst() { position_ = 0; }
  void MoveNext();
  bool Eof() const { return position_ >= rows_.size(); }
  // The current row's field by column name (case-insensitive) or index.
  // Raises "no current record" past the end and "item not found" for an
  // unknown column.
  const FieldValue& Field(const std::string& column) const;
  const FieldValue& Field(std::size_t index) const;
  const std::vector<std::string>& Columns() const { return columns_; }
  void Close();

 private:
  const std::vector<FieldValue>& CurrentRow() const;

  std::vector<std::string> columns_;
  std::vector<std::vector<FieldValue>> rows_;
  std::size_t position_ = 0;
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
