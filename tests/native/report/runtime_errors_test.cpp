// Run-time error lines: their number and text read back from the line,
// and each number's own meaning and fix.
#include "report/runtime_errors.h"

#include <gtest/gtest.h>

#include "common/runtime_error.h"
#include "report/finding_fixes.h"

namespace fernwick::report {
namespace {

using enum FindingId;

constexpr WindowsFacts kUnknown{};

TEST(RuntimeErrors, ARunTimeErrorGetsTheMeaningAndFixOfItsNumber) {
  const std::vector<std::pair<std::string, std::string_view>> cases = {
      {"(error):71 (Disk not ready) in procedure GetSystemInfo of Form frmMain", "make that drive available"},
      {"(error):17 ([Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist or access denied.) in "
       "procedure GetSystemInfo of Form frmMain",
       "start SQL Server"},
      {"(error):53 ([DBNETLIB]ConnectionOpen (Connect()).) in procedure GetSystemInfo of Form frmMain",
       "VoxtraDb is online"},  // the database's 53, not the runtime's
      {"(error):440 (Automation error) in procedure GetSystemInfo of Form frmMain", "correct that, and gather again"},
  };
  for (const auto& [line, says] : cases) {
    const Finding finding{RuntimeError, 0, line, {}, {}};
    const std::string fix = ForLines(Info(RuntimeError), kUnknown, {&finding}).fix;
    EXPECT_NE(fix.find(says), std::string::npos) << line << ": " << fix;
  }
}

TEST(RuntimeErrors, LinesAreReadByNumberAndText) {
  const auto line =
      ReadRuntimeErrorLine("(error):-2147467259 (Unspecified error) in procedure GetSystemInfo of Form frmMain");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->number, -2147467259);
  EXPECT_EQ(line->description, "Unspecified error");
  EXPECT_FALSE(line->Database());
  for (const char* other : {"(error) no entry for the current SystemID", "(error):x (y)", "(error):17", "text"}) {
    EXPECT_FALSE(ReadRuntimeErrorLine(other)) << other;
  }
}

// The runtime's entries quote the program's own descriptions: each number
// has one, not the runtime's catch-all.
TEST(RuntimeErrors, EachRuntimeNumberOfTheTableIsOneTheProgramRaises) {
  for (const RuntimeErrorInfo& info : AllRuntimeErrors()) {
    if (info.database) continue;
    EXPECT_NE(ErrorDescription(info.number), ErrorDescription(440)) << info.number;
  }
}

}  // namespace
}  // namespace fernwick::report
