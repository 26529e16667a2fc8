// The number rules of the install section: the plain number format with
// its rounding, the drive a path lies on, and the ports line's warnings.
#include <gtest/gtest.h>

#include "common/plain_number.h"
#include "report/drive_space_block.h"
#include "report/telephony_settings.h"

namespace fernwick::report {
namespace {

TEST(PlainNumber, RoundsHalvesToEvenAndDropsTrailingZeros) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {40007990000.0 / 1000000, " 40007.99"},
      {12683335680.0 / 1000000, " 12683.34"},
      {0.125, " 0.12"},  // exactly half: to the even neighbour
      {0.375, " 0.38"},
      {2.5, " 2.5"},
      {31.700000001, " 31.7"},
      {119, " 119"},
      {1234567.004, " 1234567"},  // no thousands separators, no ".00"
      {0, " 0"},
      {-0.001, " 0"},  // rounds to zero, which is not negative
      {-3, "-3"},
      {-12.346, "-12.35"},
  };
  for (const auto& c : cases) EXPECT_EQ(PlainNumber(c.value), c.text) << c.value;
}

TEST(DriveNameOf, NamesTheDriveOrShareThatHoldsThePath) {
  EXPECT_EQ(DriveNameOf("C:\\Program Files\\Voxtra\\"), "C:");
  EXPECT_EQ(DriveNameOf("d:\\QMR"), "d:");
  EXPECT_EQ(DriveNameOf("\\\\LOGSRV\\VoxtraLogs\\2026"), "\\\\LOGSRV\\VoxtraLogs");
  EXPECT_EQ(DriveNameOf("\\\\LOGSRV\\VoxtraLogs"), "\\\\LOGSRV\\VoxtraLogs");
  EXPECT_EQ(DriveNameOf("Logs"), "");
}

TEST(PortsConfiguredText, WarnsOfEveryMissingMemorySetting) {
  const std::string mapi = "(*** Warning MAPI Threads should be increased - see QDFaa10001 ***)";
  const struct {
    const char* what;
    PortFacts facts;
    std::string text;
  } cases[] = {
      {"50 port subkeys", {49, false, {}, 4, {}}, " 49"},
      {"72 ports need nothing", {72, false, {}, 5, {}}, " 72"},
      {"80 ports without the heap setting",
       {79, false, {}, 4, {}},
       " 79 *** Warning > 72 ports but Registry (Low Fragment Heap) not enabled ***"},
      {"the same on version 5 without MAPISessionCount",
       {79, false, {}, 5, {}},
       " 79 *** Warning > 72 ports but Registry (Low Fragment Heap) not enabled ***" + mapi},
      {"heap on, version 5 with 4 MAPI sessions", {79, true, {}, 5, 4}, " 79"},
      {"heap on, version 5 with 2 MAPI sessions", {79, true, {}, 5, 2}, " 79" + mapi},
      {"3GB in lower case but no userva",
       {119, true, "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Windows\" /fastdetect /3gb", 4, {}},
       " 119 *** Warning requirements missing : /userva=2800 ****"},
      {"no boot.ini",
       {119, true, std::nullopt, 4, {}},
       " 119 *** Warning requirements missing : c:\\Boot.ini Not Found ****"},
      {"every switch and the heap", {119, true, "/3GB /USERVA=2800", 4, {}}, " 119"},
      {"nothing at all",
       {119, false, "", 4, {}},
       " 119 *** Warning requirements missing : /3GB, /userva=2800, Registry (Low Fragment Heap) ****"},
      {"switches there, heap off",
       {100, false, "/3GB /userva=2800", 5, 4},
       " 100 *** Warning requirements missing : Registry (Low Fragment Heap) ****"},
      {"userva there, 3GB and heap missing",
       {97, false, "/userva=2800", 5, {}},
       " 97 *** Warning requirements missing : /3GB, Registry (Low Fragment Heap) ****" + mapi},
  };
  for (const auto& c : cases) EXPECT_EQ(PortsConfiguredText(c.facts).text, c.text) << c.what;
}

}  // namespace
}  // namespace fernwick::report
