// SQL Server's "select @@version" text cut into the pieces of the SQL
// version and Windows version lines. Beyond not crashing: a text that
// cannot be cut fails only with the run-time error 5, and the pieces that
// are cut are pieces of the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/runtime_error.h"
#include "report/sql_server_version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string version(reinterpret_cast<const char*>(data), size);
  fernwick::report::SqlVersionPieces pieces;
  const auto check = [](auto&& step) {
    try {
      step();
    } catch (const fernwick::RuntimeError& e) {
      if (e.Number() != fernwick::err::kInvalidProcedureCall) std::abort();
    }
  };
  check([&] { fernwick::report::SplitSqlVersion(version, pieces); });
  if (version.find(pieces.strSqlFirstLine) == std::string::npos) std::abort();
  if (version.find(pieces.strSqlBuildText) == std::string::npos) std::abort();
  check([&] { fernwick::report::SqlProductText(pieces.strSqlFirstLine); });
  check([&] { fernwick::report::SqlBuildNumber(pieces.strSqlFirstLine); });
  return 0;
}
