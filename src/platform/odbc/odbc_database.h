#pragma once
// The configuration database over ODBC: odbc32 on Windows, unixODBC on
// Linux. Each query takes its own environment, connection and statement
// and gives them back before it returns, with every row already read.
#include <functional>
#include <memory>
#include <string>

#include "platform/config_database.h"
#include "platform/odbc/answer_ceiling.h"

namespace fernwick::odbc {

// Watches each query of an OdbcDatabase while it runs. Started() hands it a
// way to cancel the running statement (safe from another thread); once
// Ended() has returned, the watch must never use it again.
class QueryWatch {
 public:
  virtual ~QueryWatch() = default;
  virtual void Started(std::function<void()> cancel) = 0;
  virtual void Ended() = 0;
};

class OdbcDatabase : public platform::ConfigDatabase {
 public:
  OdbcDatabase() = default;
  // Each query's statement is shown to `watch` from before it runs until it
  // is read (or failed).
  // An answer past `ceiling` fails its query.
  explicit OdbcDatabase(QueryWatch* watch, AnswerCeiling ceiling = kAnswerCeiling) : watch_(watch), ceiling_(ceiling) {}
  platform::RecordSet OpenQuery(const std::string& sql, const std::string& connectionString) override;
  // The OLE DB form "Provider=SQLOLEDB;..." is served by the ODBC driver
  // "SQL Server" with the same server and authentication.
  std::unique_ptr<platform::ServerConnection> OpenServer(const std::string& connectionString) override;

 private:
  QueryWatch* watch_ = nullptr;
  AnswerCeiling ceiling_ = kAnswerCeiling;
};

}  // namespace fernwick::odbc
