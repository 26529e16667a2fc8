#pragma once
// Cutting SQL Server's "select @@version" text into the pieces the report
// prints: the first line (product, version, platform) and the operating
// system build as the server states it on its fourth line.
#include <string>

namespace fernwick::report {

struct SqlVersionPieces {
  std::string strSqlFirstLine;  // up to the first LF
  std::string strSqlBuildText;  // "Build 3790: Service Pack 2"
};

// Error 5 when the text has no line end where the pieces are cut.
// `pieces` keeps whatever was cut before the failure.
void SplitSqlVersion(const std::string& version, SqlVersionPieces& pieces);

// The first line up to "(Intel", trimmed; error 5 when it is not there (a
// 64-bit server).
std::string SqlProductText(const std::string& firstLine);

// The build number text: after the last "." of the first line, or, for SQL
// Server 2005, the four characters before it.
std::string SqlBuildNumber(const std::string& firstLine);

}  // namespace fernwick::report
