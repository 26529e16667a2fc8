#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/image/image_workstation.h"
#include "platform/image/not_captured.h"
#include "probes/workstation_info.h"

namespace fernwick::image {
namespace {

TEST(ImageWorkstation, FactsSectionFillsBothCalls) {
  const IniFile facts = IniFile::Parse(
      "[workstation]\r\n"
      "ComputerName=VOXSRV01\r\n"
      "Domain=CORP\r\n"
      "VerMajor=5\r\n"
      "VerMinor=2\r\n"
      "PlatformId=500\r\n"
      "LanRoot=C:\\WINDOWS\r\n"
      "LoggedOnUsers=2\r\n"
      "UserName=Administrator\r\n"
      "LogonDomain=CORP\r\n"
      "OtherDomains=LAB\r\n"
      "LogonServer=\\\\DC01\r\n");
  ImageWorkstation workstation(ReadWorkstationFacts(facts));
  WorkStationInfo info(workstation);
  EXPECT_EQ(info.ComputerName(), "VOXSRV01");
  EXPECT_EQ(info.Domain(), "CORP");
  EXPECT_EQ(info.VerMajor(), 5);
  EXPECT_EQ(info.VerMinor(), 2);
  EXPECT_EQ(info.PlatformId(), 500);
  EXPECT_EQ(info.LanRoot(), "C:\\WINDOWS");
  EXPECT_EQ(info.LoggedOnUsers(), 2);
  EXPECT_EQ(info.UserName(), "Administrator");
  EXPECT_EQ(info.LogonDomain(), "CORP");
  EXPECT_EQ(info.OtherDomains(), "LAB");
  EXPECT_EQ(info.LogonServer(), "\\\\DC01");
}

TEST(ImageWorkstation, EmptySectionIsAnNtMachineWithEmptyAnswers) {
  ImageWorkstation workstation(ReadWorkstationFacts(IniFile::Parse("")));
  EXPECT_EQ(workstation.OsPlatformId(), platform::kVerPlatformWin32Nt);
  platform::WkstaInfo102 info;
  EXPECT_EQ(workstation.GetInfo102(info), 0u);
  EXPECT_EQ(info.computerName, "");
  platform::WkstaUserInfo1 user;
  EXPECT_EQ(workstation.GetUserInfo1(user), 0u);
}

TEST(ImageWorkstation, FailureFlagsMakeEachCallFailWithoutTouchingTheRecord) {
  ImageWorkstation workstation(ReadWorkstationFacts(IniFile::Parse(
      "[workstation]\nComputerName=VOXSRV01\nWorkstationInfoFails=yes\nUserName=admin\nUserInfoFails=1\n")));
  platform::WkstaInfo102 info;
  info.computerName = "before";
  EXPECT_EQ(workstation.GetInfo102(info), kNerrWkstaNotStarted);
  EXPECT_EQ(info.computerName, "before");
  platform::WkstaUserInfo1 user;
  EXPECT_EQ(workstation.GetUserInfo1(user), kNerrWkstaNotStarted);
  EXPECT_EQ(user.userName, "");
}

TEST(ImageWorkstation, WorkstationServiceMissingStillReadsTheUser) {
  ImageWorkstation workstation(ReadWorkstationFacts(IniFile::Parse(
      "[workstation]\nComputerName=VOXSRV01\nDomain=CORP\nWorkstationInfoFails=true\nUserName=admin\n")));
  WorkStationInfo info(workstation);
  EXPECT_EQ(info.ComputerName(), "");
  EXPECT_EQ(info.Domain(), "");
  EXPECT_EQ(info.UserName(), "admin");
}

TEST(ImageWorkstation, NonNtMachineAnswersNothing) {
  ImageWorkstation workstation(
      ReadWorkstationFacts(IniFile::Parse("[workstation]\nOsPlatformId=1\nComputerName=WIN98BOX\nUserName=joe\n")));
  WorkStationInfo info(workstation);
  EXPECT_EQ(info.ComputerName(), "");
  EXPECT_EQ(info.UserName(), "");
}

TEST(ImageWorkstation, NumberThatDoesNotReadNamesTheKey) {
  try {
    ReadWorkstationFacts(IniFile::Parse("[workstation]\nVerMajor=five\n"));
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "[workstation] VerMajor: not a number: five");
  }
}

// A capture states the facts the report shows (computer name, domain,
// version); one it lacks stops the replay naming it, never an empty or 0.
TEST(ImageWorkstation, ACaptureMissingAFactTheReportShowsStopsNamingIt) {
  const std::string all = "ComputerName=VOXSRV01\nDomain=CORP\nVerMajor=5\nVerMinor=2\n";
  for (const std::string key : {"ComputerName", "Domain", "VerMajor", "VerMinor"}) {
    std::string facts = all;
    const auto at = facts.find(key + "=");
    facts.erase(at, facts.find('\n', at) + 1 - at);
    WorkstationFacts read = ReadWorkstationFacts(IniFile::Parse("[workstation]\nOsPlatformId=2\n" + facts));
    read.strict = true;
    ImageWorkstation workstation(read);
    platform::WkstaInfo102 info;
    try {
      workstation.GetInfo102(info);
      ADD_FAILURE() << key << " missing, yet answered";
    } catch (const NotCaptured& e) {
      EXPECT_EQ(e.Question(), "workstation: " + key);
    }
  }
  // The user call's success is stated without its texts, which no report shows.
  WorkstationFacts read =
      ReadWorkstationFacts(IniFile::Parse("[workstation]\nOsPlatformId=2\n" + all + "UserInfoError=0\n"));
  read.strict = true;
  ImageWorkstation workstation(read);
  WorkStationInfo info(workstation);
  EXPECT_EQ(info.Domain(), "CORP");
  EXPECT_EQ(info.VerMinor(), 2);
  EXPECT_EQ(info.UserName(), "");
}

}  // namespace
}  // namespace fernwick::image
