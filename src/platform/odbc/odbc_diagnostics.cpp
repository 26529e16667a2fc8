#include "platform/odbc/odbc_diagnostics.h"

#include <algorithm>
#include <array>

namespace fernwick::odbc {

std::vector<DiagnosticRecord> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
  std::vector<DiagnosticRecord> records;
  if (handle == nullptr) return records;
  for (SQLSMALLINT number = 1;; ++number) {
    std::array<SQLCHAR, 6> state{};
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    std::string message(512, '\0');
    SQLRETURN result =
        SQLGetDiagRec(handleType, handle, number, state.data(), &nativeError,
                      reinterpret_cast<SQLCHAR*>(message.data()), static_cast<SQLSMALLINT>(message.size()), &length);
    if (result == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
      message.assign(static_cast<std::size_t>(length) + 1, '\0');
      result =
          SQLGetDiagRec(handleType, handle, number, state.data(), &nativeError,
                        reinterpret_cast<SQLCHAR*>(message.data()), static_cast<SQLSMALLINT>(message.size()), &length);
    }
    if (!SQL_SUCCEEDED(result)) break;
    const auto used = std::min(static_cast<std::size_t>(length < 0 ? 0 : length), message.size() - 1);
    message.resize(used);
    // Some drivers count the text but end it early; the terminator decides.
    message.resize(std::string(message.c_str()).size());
    records.push_back({reinterpret_cast<const char*>(state.data()), static_cast<long>(nativeError), message});
  }
  return records;
}

RuntimeError ErrorFromDiagnostics(const std::vector<DiagnosticRecord>& records) {
  const DiagnosticRecord* chosen = nullptr;
  for (const auto& record : records) {
    if (record.sqlState.rfind("01", 0) != 0) {
      chosen = &record;
      break;
    }
  }
  if (chosen == nullptr && !records.empty()) chosen = &records.front();
  if (chosen == nullptr || chosen->message.empty()) {
    return RuntimeError(err::kDatabaseError, ErrorDescription(err::kDatabaseError));
  }
  const long number = chosen->nativeError != 0 ? chosen->nativeError : err::kDatabaseError;
  return RuntimeError(number, chosen->message);
}

void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle) {
  if (SQL_SUCCEEDED(result)) return;
  throw ErrorFromDiagnostics(ReadDiagnostics(handleType, handle));
}

}  // namespace fernwick::odbc
