#include "platform/odbc/server_connection_string.h"

#include "common/text.h"

namespace fernwick::odbc {

std::string OdbcServerConnectionString(std::string_view oleDbConnectionString) {
  std::string result;
  std::size_t start = 0;
  while (start <= oleDbConnectionString.size()) {
    std::size_t end = oleDbConnectionString.find(';', start);
    if (end == std::string_view::npos) end = oleDbConnectionString.size();
    const std::string_view attribute = oleDbConnectionString.substr(start, end - start);
    const std::size_t equals = attribute.find('=');
    const bool isSqlOleDb = equals != std::string_view::npos &&
                            EqualsNoCase(Trim(attribute.substr(0, equals)), "Provider") &&
                            EqualsNoCase(Trim(attribute.substr(equals + 1)), "SQLOLEDB");
    result += isSqlOleDb ? std::string_view("Driver={SQL Server}") : attribute;
    if (end < oleDbConnectionString.size()) result += ';';
    start = end + 1;
  }
  return result;
}

}  // namespace fernwick::odbc
