#pragma once
// The configuration database over ODBC: odbc32 on Windows, unixODBC on
// Linux. Each query takes its own environment, connection and statement
// and gives them back before it returns, with every row already read.
#include <memory>
#include <string>

#include "platform/config_database.h"

namespace fernwick::odbc {

class OdbcDatabase : public platform::ConfigDatabase {
 public:
  platform::RecordSet OpenQuery(const std::string& sql, const std::string& connectionString) override;
  // The OLE DB form "Provider=SQLOLEDB;..." is served by the ODBC driver
  // "SQL Server" with the same server and authentication.
  std::unique_ptr<platform::ServerConnection> OpenServer(const std::string& connectionString) override;
};

}  // namespace fernwick::odbc
