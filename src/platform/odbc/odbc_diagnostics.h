#pragma once
// ODBC failures as the program's run-time error.
//
// Number: the driver's native error code of the diagnostic record (SQL
// Server's own numbers, such as 208 for an unknown object or 17 for a server
// that cannot be reached; SQLite's result codes under the test driver). When
// the record has no native code (the driver manager's own failures, such as
// a driver that is not installed) the number is err::kDatabaseError, the
// runtime's "Unspecified error" for a failed data access.
// Description: the record's message text as the driver gives it, with the
// driver's bracketed prefixes. The first record that is not a warning
// (SQLSTATE class "01") is used; without any record the description is the
// one of err::kDatabaseError.
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "platform/odbc/odbc_api.h"

namespace fernwick::odbc {

struct DiagnosticRecord {
  std::string sqlState;
  long nativeError = 0;
  std::string message;
};

// Every diagnostic record of `handle`, in the order the driver gives them.
std::vector<DiagnosticRecord> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

RuntimeError ErrorFromDiagnostics(const std::vector<DiagnosticRecord>& records);

// Throws the error the handle's diagnostics describe unless `result` is
// SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle);

}  // namespace fernwick::odbc
