#include "platform/odbc/odbc_handles.h"

#include <utility>

#include "platform/odbc/odbc_diagnostics.h"

namespace fernwick::odbc {

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
  const SQLRETURN result = SQLAllocHandle(type, parent, &handle_);
  if (!SQL_SUCCEEDED(result)) {
    handle_ = nullptr;
    // An environment has no parent to hold diagnostics.
    const SQLSMALLINT parentType = type == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV;
    throw ErrorFromDiagnostics(ReadDiagnostics(parentType, parent));
  }
}

OdbcHandle::~OdbcHandle() {
  Free();
}

OdbcHandle::OdbcHandle(OdbcHandle&& other) noexcept
    : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}

OdbcHandle& OdbcHandle::operator=(OdbcHandle&& other) noexcept {
  if (this != &other) {
    Free();
    type_ = other.type_;
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

void OdbcHandle::Free() noexcept {
  if (handle_ != nullptr) SQLFreeHandle(type_, handle_);
  handle_ = nullptr;
}

Environment::Environment() : handle_(SQL_HANDLE_ENV, nullptr) {
  Check(SQLSetEnvAttr(handle_.Get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
        SQL_HANDLE_ENV, handle_.Get());
}

Connection::Connection(const Environment& environment, const std::string& connectionString)
    : handle_(SQL_HANDLE_DBC, environment.Handle().Get()) {
  std::string in = connectionString;
  std::string out(1024, '\0');
  SQLSMALLINT outLength = 0;
  // The plain entry point is the ANSI one on Windows, and the only one
  // Wine's odbc32 forwards correctly.
  Check(SQLDriverConnect(handle_.Get(), nullptr, reinterpret_cast<SQLCHAR*>(in.data()), SQL_NTS,
                         reinterpret_cast<SQLCHAR*>(out.data()), static_cast<SQLSMALLINT>(out.size()), &outLength,
                         SQL_DRIVER_NOPROMPT),
        SQL_HANDLE_DBC, handle_.Get());
}

Connection::~Connection() {
  SQLDisconnect(handle_.Get());
}

Statement::Statement(const Connection& connection) : handle_(SQL_HANDLE_STMT, connection.Handle().Get()) {}

void Statement::ExecDirect(const std::string& sql) {
  std::string text = sql;
  const SQLRETURN result = SQLExecDirect(handle_.Get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
  // A statement that touches no row answers SQL_NO_DATA; that is no failure.
  if (result == SQL_NO_DATA) return;
  Check(result, SQL_HANDLE_STMT, handle_.Get());
}

}  // namespace fernwick::odbc
