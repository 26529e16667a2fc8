#include <gtest/gtest.h>

#include "probes/workstation_info.h"

namespace fernwick {
namespace {

// A network layer whose answers and failures a test sets, counting calls.
class FakeWorkstation : public platform::Workstation {
 public:
  std::uint32_t osPlatformId = platform::kVerPlatformWin32Nt;
  platform::WkstaInfo102 info102;
  std::uint32_t info102Status = 0;
  platform::WkstaUserInfo1 userInfo1;
  std::uint32_t userInfo1Status = 0;
  int info102Calls = 0;
  int userInfo1Calls = 0;

  std::uint32_t OsPlatformId() override { return osPlatformId; }
  std::uint32_t GetInfo102(platform::WkstaInfo102& info) override {
    ++info102Calls;
    // A failing call may have written nothing usable; the caller must not
    // take anything from it.
    if (info102Status != 0) {
      info.computerName = "GARBAGE";
      return info102Status;
    }
    info = info102;
    return 0;
  }
  std::uint32_t GetUserInfo1(platform::WkstaUserInfo1& info) override {
    ++userInfo1Calls;
    if (userInfo1Status != 0) {
      info.userName = "GARBAGE";
      return userInfo1Status;
    }
    info = userInfo1;
    return 0;
  }
};

constexpr std::uint32_t kWkstaNotStarted = 2138;

FakeWorkstation VoxtraServer() {
  FakeWorkstation workstation;
  workstation.info102 = {500, "VOXSRV01", "CORP", 5, 2, "C:\\WINDOWS", 3};
  workstation.userInfo1 = {"Administrator", "CORP", "LAB TEST", "\\\\DC01"};
  return workstation;
}

void ExpectEmpty(const WorkStationInfo& info) {
  EXPECT_EQ(info.ComputerName(), "");
  EXPECT_EQ(info.Domain(), "");
  EXPECT_EQ(info.LanRoot(), "");
  EXPECT_EQ(info.LoggedOnUsers(), 0);
  EXPECT_EQ(info.PlatformId(), 0);
  EXPECT_EQ(info.VerMajor(), 0);
  EXPECT_EQ(info.VerMinor(), 0);
  EXPECT_EQ(info.LogonDomain(), "");
  EXPECT_EQ(info.LogonServer(), "");
  EXPECT_EQ(info.OtherDomains(), "");
  EXPECT_EQ(info.UserName(), "");
}

TEST(WorkStationInfo, NtMachineIsReadOnCreation) {
  FakeWorkstation workstation = VoxtraServer();
  WorkStationInfo info(workstation);
  EXPECT_EQ(info.ComputerName(), "VOXSRV01");
  EXPECT_EQ(info.Domain(), "CORP");
  EXPECT_EQ(info.LanRoot(), "C:\\WINDOWS");
  EXPECT_EQ(info.LoggedOnUsers(), 3);
  EXPECT_EQ(info.PlatformId(), 500);
  EXPECT_EQ(info.VerMajor(), 5);
  EXPECT_EQ(info.VerMinor(), 2);
  EXPECT_EQ(info.UserName(), "Administrator");
  EXPECT_EQ(info.LogonDomain(), "CORP");
  EXPECT_EQ(info.OtherDomains(), "LAB TEST");
  EXPECT_EQ(info.LogonServer(), "\\\\DC01");
}

TEST(WorkStationInfo, NonNtPlatformLeavesEverythingEmptyAndRefreshDoesNothing) {
  for (std::uint32_t platformId : {0u, 1u, 3u}) {
    FakeWorkstation workstation = VoxtraServer();
    workstation.osPlatformId = platformId;
    WorkStationInfo info(workstation);
    info.Refresh();
    ExpectEmpty(info);
    EXPECT_EQ(workstation.info102Calls, 0) << platformId;
    EXPECT_EQ(workstation.userInfo1Calls, 0) << platformId;
  }
}

TEST(WorkStationInfo, FailedWorkstationQueryLeavesNameAndDomainEmptyButReadsTheUser) {
  FakeWorkstation workstation = VoxtraServer();
  workstation.info102Status = kWkstaNotStarted;
  WorkStationInfo info(workstation);
  EXPECT_EQ(info.ComputerName(), "");
  EXPECT_EQ(info.Domain(), "");
  EXPECT_EQ(info.PlatformId(), 0);
  EXPECT_EQ(info.VerMajor(), 0);
  EXPECT_EQ(info.UserName(), "Administrator");
  EXPECT_EQ(info.LogonServer(), "\\\\DC01");
}

TEST(WorkStationInfo, FailedUserQueryLeavesUserEmpty) {
  FakeWorkstation workstation = VoxtraServer();
  workstation.userInfo1Status = 5;
  WorkStationInfo info(workstation);
  EXPECT_EQ(info.ComputerName(), "VOXSRV01");
  EXPECT_EQ(info.UserName(), "");
  EXPECT_EQ(info.LogonDomain(), "");
}

TEST(WorkStationInfo, RefreshRereadsAndFailedCallsKeepEarlierValues) {
  FakeWorkstation workstation = VoxtraServer();
  WorkStationInfo info(workstation);

  workstation.info102.computerName = "VOXSRV02";
  workstation.userInfo1.userName = "voxadmin";
  info.Refresh();
  EXPECT_EQ(info.ComputerName(), "VOXSRV02");
  EXPECT_EQ(info.UserName(), "voxadmin");

  workstation.info102Status = kWkstaNotStarted;
  workstation.userInfo1Status = kWkstaNotStarted;
  workstation.info102.computerName = "NEVER";
  info.Refresh();
  EXPECT_EQ(info.ComputerName(), "VOXSRV02");
  EXPECT_EQ(info.Domain(), "CORP");
  EXPECT_EQ(info.UserName(), "voxadmin");
  EXPECT_EQ(workstation.info102Calls, 3);
  EXPECT_EQ(workstation.userInfo1Calls, 3);
}

TEST(WorkStationInfo, NumbersAboveTheSignedRangeComeOutNegative) {
  FakeWorkstation workstation = VoxtraServer();
  workstation.info102.loggedOnUsers = 0xFFFFFFFFu;
  WorkStationInfo info(workstation);
  EXPECT_EQ(info.LoggedOnUsers(), -1);
}

}  // namespace
}  // namespace fernwick
