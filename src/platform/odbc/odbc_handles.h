#pragma once
// Owners of the ODBC handles. Each frees its handle whichever way the call
// that took it ends; a connection also disconnects first.
#include <string>

#include "platform/odbc/odbc_api.h"

namespace fernwick::odbc {

class OdbcHandle {
 public:
  // Allocates a handle of `type` below `parent`; throws RuntimeError when
  // the driver manager refuses.
  OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
  ~OdbcHandle();
  OdbcHandle(OdbcHandle&& other) noexcept;
  OdbcHandle& operator=(OdbcHandle&& other) noexcept;
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;

  SQLHANDLE Get() const { return handle_; }
  SQLSMALLINT Type() const { return type_; }

 private:
  void Free() noexcept;

  SQLSMALLINT type_;
  SQLHANDLE handle_ = nullptr;
};

// An ODBC 3 environment.
class Environment {
 public:
  Environment();
  const OdbcHandle& Handle() const { return handle_; }

 private:
  OdbcHandle handle_;
};

// A connection opened with a connection string, without prompting.
class Connection {
 public:
  Connection(const Environment& environment, const std::string& connectionString);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  const OdbcHandle& Handle() const { return handle_; }

 private:
  OdbcHandle handle_;
};

class Statement {
 public:
  explicit Statement(const Connection& connection);
  const OdbcHandle& Handle() const { return handle_; }
  // Runs one SQL text directly; throws RuntimeError with the driver's
  // diagnostics when it fails.
  void ExecDirect(const std::string& sql);

 private:
  OdbcHandle handle_;
};

}  // namespace fernwick::odbc
