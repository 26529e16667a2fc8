// The findings table: every finding is reached, by a sample's golden
// findings or by one of the servers below, each of which must give the
// findings it names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "native/temp_image.h"
#include "native/report/silent_gathering.h"
#include "report/gathering.h"

namespace fernwick::report {
namespace {

using enum FindingId;

std::string Version(int major, int minor, int release, int build) {
  const auto dword = [](int n) { return "dword:0000000" + std::to_string(n) + "\r\n"; };
  return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane Systems\\Norvane Voxtra]\r\n\"MajorVersion\"=" + dword(major) +
         "\"MinorVersion\"=" + dword(minor) + "\"ReleaseVersion\"=" + dword(release) +
         "\"BuildVersion\"=" + dword(build);
}

const std::string kVersion42 = Version(4, 2, 1, 0);
const std::string kRootPath =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"C:\\\\Voxtra\\\\\"\r\n";
const std::string kActiveDirectory =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\SystemParameters\\1.0]\r\n"
    "\"IDCProgID\"=\"TlIDCADSvr.TlIDCAD.1\"\r\n";
const std::string kConfigurationTables =
    "CREATE TABLE Configuration (FullNodeName TEXT, NodeName TEXT, NodeValue TEXT);\n"
    "CREATE VIEW vw_Configuration AS SELECT FullNodeName, NodeName, NodeValue FROM Configuration;\n"
    "CREATE TABLE VoxtraSetupParameters (Name TEXT, Value TEXT);\n"
    "CREATE VIEW vw_VoxtraSetupParameters AS SELECT Name, Value FROM VoxtraSetupParameters;\n";

// 98 port subkeys (0 to 97: 97 ports), a boot.ini with /userva=2800 only and
// the heap setting on.
void NinetySevenPortsWithout3Gb(testing::TempImage& image) {
  std::string ports;
  for (int n = 0; n <= 97; ++n) {
    ports +=
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\Arbiter\\1.0\\Port Configuration\\" + std::to_string(n) + "]\r\n";
  }
  image.Registry(kVersion42 + ports + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline]\r\n\"LHFEnabled\"=dword:00000001\r\n");
  image.Write("drives/C/boot.ini",
              "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS /userva=2800\r\n");
}

struct ReachCase {
  const char* server;
  std::function<void(testing::TempImage&)> make;
  std::vector<FindingId> expected;
};

const std::vector<ReachCase>& Cases() {
  static const std::vector<ReachCase> cases = {
      {"a 4.2 server with nothing else",
       [](auto& image) { image.Registry(kVersion42); },
       {PromptsRootUnknown, InstallPathsUnknown, MapiNoProvider}},
      {"a root path that is no folder",
       [](auto& image) { image.Registry(kVersion42 + kRootPath); },
       {PromptsFolderMissing}},
      {"97 ports and a boot.ini without /3GB", NinetySevenPortsWithout3Gb, {Ports3GbMissing}},
      {"TCP chimney offload set to 2",
       [](auto& image) {
         image.Registry(kVersion42 +
                        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters]\r\n"
                        "\"EnableTCPChimney\"=dword:00000002\r\n");
       },
       {TcpChimneyUnknown}},
      {"CDO registered without its DLL",
       [](auto& image) {
         image.Registry(kVersion42 +
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Mail\\ExchangeMAPI]\r\n"
                        "\"DLLPathEx\"=\"C:\\\\Program Files\\\\CDO\\\\cdo.dll\"\r\n");
       },
       {MapiCdoDllMissing}},
      {"an empty configuration database on 4.2(1)",
       [](auto& image) {
         image.Registry(kVersion42);
         image.Write("database/VoxtraDb.sql", kConfigurationTables);
       },
       {InstallSystemIdMissing}},
      {"a global catalog row without value and no sync intervals",
       [](auto& image) {
         image.Registry(kVersion42 + kActiveDirectory);
         image.Write("database/VoxtraDb.sql",
                     kConfigurationTables +
                         "INSERT INTO Configuration VALUES "
                         "('System.DirectoryConnectors.ActiveDirectory.DSGC.CurrentGC', 'CurrentGC', NULL);\n");
       },
       {AdCatalogValueMissing, AdCatalogIntervalNoEntry, AdControllerIntervalNoEntry}},
  };
  return cases;
}

std::set<FindingId> FindingsOf(const ReachCase& c) {
  testing::TempImage image;
  c.make(image);
  const ReportBuffer buffer = GatherSilently(image);
  std::set<FindingId> found;
  for (const Finding& finding : buffer.Findings()) found.insert(finding.id);
  return found;
}

std::set<std::string> GoldenFindingNames() {
  std::set<std::string> names;
  const std::filesystem::path golden = std::filesystem::path(FERNWICK_SOURCE_DIR) / "tests" / "golden";
  for (const auto& entry : std::filesystem::directory_iterator(golden)) {
    if (!entry.path().string().ends_with(".findings.csv")) continue;
    std::ifstream csv(entry.path());
    std::string row;
    std::getline(csv, row);  // the header
    while (std::getline(csv, row)) names.insert(row.substr(0, row.find(',')));
  }
  return names;
}

TEST(Findings, EachServerGivesTheFindingsItNames) {
  for (const ReachCase& c : Cases()) {
    const std::set<FindingId> found = FindingsOf(c);
    for (FindingId id : c.expected) EXPECT_TRUE(found.count(id)) << c.server << ": " << Info(id).name;
  }
}

TEST(Findings, EveryFindingIsReachedByASampleOrAServerAbove) {
  const std::set<std::string> golden = GoldenFindingNames();
  for (const FindingInfo& info : AllFindings()) {
    // Not the gathering's: Write To File's error lines in the packed text
    // (packed_report_test.cpp).
    if (info.id == WriteToFileError) continue;
    const bool byCase = std::any_of(Cases().begin(), Cases().end(), [&](const ReachCase& c) {
      return std::find(c.expected.begin(), c.expected.end(), info.id) != c.expected.end();
    });
    EXPECT_TRUE(golden.count(std::string(info.name)) || byCase) << info.name << " is reached by nothing";
  }
}

TEST(Findings, NamesAreUniqueAndEveryEntryIsComplete) {
  std::set<std::string_view> names;
  for (const FindingInfo& info : AllFindings()) {
    EXPECT_TRUE(names.insert(info.name).second) << info.name;
    EXPECT_FALSE(info.title.empty() || info.meaning.empty() || info.fix.empty() || info.section.empty() ||
                 info.wording.empty())
        << info.name;
  }
}

// A licence page that was read but lists nothing is no unread page; one
// that cannot be fetched is, on the first licence line.
TEST(Findings, TheLicencePageIsUnreadOnlyWhenItCouldNotBeFetchedOrParsed) {
  for (const bool served : {true, false}) {
    testing::TempImage image;
    image.Write("image.ini", "[clock]\nNow=2026-12-07 09:05:03\n[workstation]\nComputerName=VOXTRA01\n");
    image.Registry(kVersion42);
    if (served) image.Write("pages/VOXTRA01/tlxml/effectivelicense.asp", "<TlXmlLicData></TlXmlLicData>");
    const ReportBuffer buffer = GatherSilently(image, true);
    std::vector<std::string> evidence;
    for (const Finding& finding : buffer.Findings()) {
      if (finding.id == LicensePageUnread) evidence.push_back(finding.evidence);
    }
    EXPECT_EQ(evidence,
              served ? std::vector<std::string>{} : std::vector<std::string>{"     LicMaxMsgRecLenIsLicensed=0"});
  }
}

}  // namespace
}  // namespace fernwick::report
