#pragma once
// The server connection names the OLE DB provider for SQL Server; over ODBC
// the same connection is made by the driver "SQL Server".
#include <string>
#include <string_view>

namespace fernwick::odbc {

// "Provider=SQLOLEDB;Server=NAME;Trusted_Connection=Yes;" becomes
// "Driver={SQL Server};Server=NAME;Trusted_Connection=Yes;": the provider
// attribute (matched without regard to case) is replaced in place and every
// other attribute is kept as written. A string without that provider is
// already an ODBC one and comes back unchanged.
std::string OdbcServerConnectionString(std::string_view oleDbConnectionString);

}  // namespace fernwick::odbc
