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

}  // namespace

platform::RecordSet OdbcDatabase::OpenQuery(const std::string& sql, const std::string& connectionString) {
  Environment environment;
  Connection connection(environment, connectionString);
  Statement statement(connection);
  statement.ExecDirect(sql);
  return ReadAllRows(statement);
}

std::unique_ptr<platform::ServerConnection> OdbcDatabase::OpenServer(const std::string& connectionString) {
  return std::make_unique<OdbcServerConnection>(OdbcServerConnectionString(connectionString));
}

}  // namespace fernwick::odbc
