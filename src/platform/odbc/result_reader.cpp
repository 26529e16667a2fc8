#include "platform/odbc/result_reader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/runtime_error.h"

#include "platform/odbc/odbc_diagnostics.h"

namespace fernwick::odbc {
namespace {

constexpr std::size_t kChunkSize = 4096;

std::string ColumnName(SQLHANDLE statement, SQLUSMALLINT column) {
  std::string name(256, '\0');
  SQLSMALLINT length = 0;
  SQLSMALLINT dataType = 0;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
  SQLSMALLINT nullable = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    Check(SQLDescribeCol(statement, column, reinterpret_cast<SQLCHAR*>(name.data()),
                         static_cast<SQLSMALLINT>(name.size()), &length, &dataType, &size, &digits, &nullable),
          SQL_HANDLE_STMT, statement);
    if (length >= 0 && static_cast<std::size_t>(length) < name.size()) break;
    name.assign(static_cast<std::size_t>(length) + 1, '\0');
  }
  name.resize(std::min(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), name.size() - 1));
  return name;
}

bool IsTruncation(SQLHANDLE statement) {
  for (const auto& record : ReadDiagnostics(SQL_HANDLE_STMT, statement)) {
    if (record.sqlState == "01004") return true;
  }
  return false;
}

[[noreturn]] void AnswerTooLarge(const std::string& bound) {
  throw RuntimeError(err::kDatabaseError, "The query's answer holds more than " + bound +
                                              "; the rest was not read and the query was ended.");
}

std::string BytesBound(std::size_t bytes) {
  return bytes % (1024 * 1024) == 0 ? std::to_string(bytes / (1024 * 1024)) + " MB" : std::to_string(bytes) + " bytes";
}

// What the answer may still hold, in bytes.
class Budget {
 public:
  explicit Budget(std::size_t bytes) : bound_(bytes), left_(bytes) {}
  void Spend(std::size_t bytes) {
    if (bytes > left_) AnswerTooLarge(BytesBound(bound_));
    left_ -= bytes;
  }

 private:
  std::size_t bound_;
  std::size_t left_;
};

// Long values arrive in pieces: each call fills the buffer less its
// terminator until the driver answers SQL_SUCCESS (or SQL_NO_DATA once the
// value is used up). Each piece is paid for before it is kept.
platform::FieldValue ReadField(SQLHANDLE statement, SQLUSMALLINT column, Budget& budget) {
  std::string value;
  std::vector<char> buffer(kChunkSize);
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN result =
        SQLGetData(statement, column, SQL_C_CHAR, buffer.data(), static_cast<SQLLEN>(buffer.size()), &indicator);
    if (result == SQL_NO_DATA) return value;
    Check(result, SQL_HANDLE_STMT, statement);
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    const std::size_t room = buffer.size() - 1;
    const bool more = result == SQL_SUCCESS_WITH_INFO && IsTruncation(statement);
    std::size_t piece = room;
    if (!more) {
      piece = indicator != SQL_NO_TOTAL && indicator >= 0
                  ? std::min(room, static_cast<std::size_t>(indicator))
                  : static_cast<std::size_t>(std::find(buffer.begin(), buffer.end() - 1, '\0') - buffer.begin());
    }
    budget.Spend(piece);
    value.append(buffer.data(), piece);
    if (!more) return value;
  }
}

}  // namespace

platform::RecordSet ReadAllRows(const Statement& statement, const AnswerCeiling& ceiling) {
  SQLHANDLE handle = statement.Handle().Get();
  SQLSMALLINT columnCount = 0;
  Check(SQLNumResultCols(handle, &columnCount), SQL_HANDLE_STMT, handle);
  if (columnCount <= 0) return {};

  std::vector<std::string> columns;
  for (SQLUSMALLINT column = 1; column <= static_cast<SQLUSMALLINT>(columnCount); ++column) {
    columns.push_back(ColumnName(handle, column));
  }
  Budget budget(ceiling.bytes);
  std::vector<std::vector<platform::FieldValue>> rows;
  for (;;) {
    const SQLRETURN result = SQLFetch(handle);
    if (result == SQL_NO_DATA) break;
    Check(result, SQL_HANDLE_STMT, handle);
    if (rows.size() >= ceiling.rows) AnswerTooLarge(std::to_string(ceiling.rows) + " rows");
    budget.Spend(sizeof(std::vector<platform::FieldValue>) + columns.size() * sizeof(platform::FieldValue));
    std::vector<platform::FieldValue> row;
    row.reserve(columns.size());
    for (SQLUSMALLINT column = 1; column <= static_cast<SQLUSMALLINT>(columnCount); ++column) {
      row.push_back(ReadField(handle, column, budget));
    }
    rows.push_back(std::move(row));
  }
  return platform::RecordSet(std::move(columns), std::move(rows));
}

}  // namespace fernwick::odbc
