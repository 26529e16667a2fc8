// WorkStationInfo over the real network layer. Under Wine the computer name
// is the host name in upper case; tests/wine/fileversion_test.sh passes the
// expected name in FERNWICK_EXPECTED_COMPUTER_NAME.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32/win32_workstation.h"
#include "platform/win32/windows_api.h"
#include "probes/workstation_info.h"

namespace fernwick {
namespace {

std::string ExpectedComputerName() {
  const char* name = std::getenv("FERNWICK_EXPECTED_COMPUTER_NAME");
  return name != nullptr ? name : "";
}

TEST(WorkStationInfoWin32, WindowsNtIsDetected) {
  win32::Win32Workstation workstation;
  EXPECT_EQ(workstation.OsPlatformId(), platform::kVerPlatformWin32Nt);
}

TEST(WorkStationInfoWin32, ComputerNameAndVersionComeFromTheNetworkLayer) {
  win32::Win32Workstation workstation;
  WorkStationInfo info(workstation);
  const std::string expected = ExpectedComputerName();
  ASSERT_FALSE(expected.empty()) << "FERNWICK_EXPECTED_COMPUTER_NAME is not set";
  EXPECT_EQ(info.ComputerName(), expected);
  EXPECT_EQ(info.PlatformId(), 500);  // PLATFORM_ID_NT

  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExA(&version));
  EXPECT_EQ(info.VerMajor(), static_cast<std::int32_t>(version.dwMajorVersion));
  EXPECT_EQ(info.VerMinor(), static_cast<std::int32_t>(version.dwMinorVersion));
}

TEST(WorkStationInfoWin32, LoggedOnUserIsRead) {
  win32::Win32Workstation workstation;
  WorkStationInfo info(workstation);
  char user[256] = {};
  DWORD size = sizeof user;
  ASSERT_TRUE(GetUserNameA(user, &size));
  EXPECT_EQ(info.UserName(), user);
  EXPECT_FALSE(info.LogonDomain().empty());
}

TEST(WorkStationInfoWin32, RefreshGivesTheSameAnswers) {
  win32::Win32Workstation workstation;
  WorkStationInfo info(workstation);
  const std::string name = info.ComputerName();
  const std::string user = info.UserName();
  info.Refresh();
  EXPECT_EQ(info.ComputerName(), name);
  EXPECT_EQ(info.UserName(), user);
}

}  // namespace
}  // namespace fernwick
