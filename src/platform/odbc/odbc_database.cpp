#include "platform/odbc/odbc_database.h"

#include "platform/odbc/odbc_handles.h"
#include "platform/odbc/result_reader.h"
#include "platform/odbc/server_connection_string.h"

namespace fernwick::odbc {
namespace {

class OdbcServerConnection : public platform::ServerConnection {
 public:
  explicit OdbcServerConnection(const std::string& connectionString) : connection_(environment_, connectionString) {}

  platform::RecordSet Execute(const std::string& sql) override {
    Statement statement(connection_);
    statement.ExecDirect(sql);
    return ReadAllRows(statement);
  }

 private:
  // Declared first, so that it outlives the connection.
  Environment environment_;
  Connection connection_;
};

// Shows a statement to the watch for as long as it lives; declared after
// the statement, it ends the watch before the handle is freed.
class Watching {
 public:
  Watching(QueryWatch* watch, const Statement& statement) : watch_(watch) {
    if (watch_ == nullptr) return;
    const SQLHANDLE handle = statement.Handle().Get();
    watch_->Started([handle] { SQLCancel(handle); });
  }
  ~Watching() {
    if (watch_ != nullptr) watch_->Ended();
  }
  Watching(const Watching&) = delete;
  Watching& operator=(const Watching&) = delete;

 private:
  QueryWatch* watch_;
};

}  // namespace

platform::RecordSet OdbcDatabase::OpenQuery(const std::string& sql, const std::string& connectionString) {
  Environment environment;
  Connection connection(environment, connectionString);
  Statement statement(connection);
  Watching watching(watch_, statement);
  statement.ExecDirect(sql);
  return ReadAllRows(statement, ceiling_);
}

std::unique_ptr<platform::ServerConnection> OdbcDatabase::OpenServer(const std::string& connectionString) {
  return std::make_unique<OdbcServerConnection>(OdbcServerConnectionString(connectionString));
}

}  // namespace fernwick::odbc
