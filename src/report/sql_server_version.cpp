#include "report/sql_server_version.h"

#include "common/classic_strings.h"
#include "common/text.h"

namespace fernwick::report {

void SplitSqlVersion(const std::string& version, SqlVersionPieces& pieces) {
  const std::size_t p1 = InStr(1, version, "\n");
  pieces.strSqlFirstLine = Left(version, static_cast<long long>(p1) - 1);
  const std::size_t p2 = InStr(p1 + 1, version, "\n");
  const std::size_t p3 = InStr(p2 + 1, version, "\n");
  const std::string rest = Mid(version, static_cast<long long>(p3) + 1);
  const std::size_t build = InStr(1, rest, "(build", true);
  pieces.strSqlBuildText = Mid(rest, static_cast<long long>(build) + 1,
                               static_cast<long long>(rest.size()) - static_cast<long long>(build) - 2);
}

std::string SqlProductText(const std::string& firstLine) {
  const std::size_t intel = InStr(1, firstLine, "(Intel", true);
  return Trim(Left(firstLine, static_cast<long long>(intel) - 1));
}

std::string SqlBuildNumber(const std::string& firstLine) {
  const auto lastDot = static_cast<long long>(InStrRev(firstLine, "."));
  if (!ContainsNoCase(firstLine, "Server 2005")) return Mid(firstLine, lastDot + 1);
  return Mid(firstLine, lastDot - 4, 4);
}

}  // namespace fernwick::report
