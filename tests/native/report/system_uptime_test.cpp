#include "report/system_uptime.h"

#include <gtest/gtest.h>

#include "common/runtime_error.h"

namespace fernwick::report {
namespace {

TEST(SystemUptime, ValueFromColumn28KeepsOneLeadingBlank) {
  EXPECT_EQ(UptimeText("Host Name:                 VOXTRA01\r\n"
                       "System Up Time:            12 Days, 4 Hours, 31 Minutes, 7 Seconds\r\n"
                       "System Manufacturer:       Dell Inc.\r\n"),
            " 12 Days, 4 Hours, 31 Minutes, 7 Seconds");
}

TEST(SystemUptime, LabelIsFoundWithoutRegardToCase) {
  EXPECT_EQ(UptimeText("SYSTEM UP TIME:            0 Days, 1 Hours, 2 Minutes, 3 Seconds\r\n"),
            " 0 Days, 1 Hours, 2 Minutes, 3 Seconds");
}

TEST(SystemUptime, MissingLabelCannotBeParsed) {
  EXPECT_EQ(UptimeText(""), "Unable to parse windows systeminfo output");
  EXPECT_EQ(UptimeText("Host Name:                 VOXTRA01\r\n"), "Unable to parse windows systeminfo output");
}

TEST(SystemUptime, LabelWithoutCrlfAfterItIsAnError) {
  // Output with bare LF line ends, or ending on the uptime line.
  EXPECT_THROW(UptimeText("System Up Time:            1 Days\nSystem Manufacturer: X\n"), RuntimeError);
  EXPECT_THROW(UptimeText("System Up Time:            1 Days"), RuntimeError);
  // A CRLF nearer than column 28 is the same negative length.
  EXPECT_THROW(UptimeText("System Up Time:\r\nnext line that is long enough\r\n"), RuntimeError);
}

TEST(SystemUptime, LineEndingAtColumn27GivesAnEmptyUptime) {
  EXPECT_EQ(UptimeText("System Up Time:           \r\n"), "");
}

}  // namespace
}  // namespace fernwick::report
