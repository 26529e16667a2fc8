// Fixes and severities for the server's Windows, and registry keys named
// where the 64-bit regedit shows them.
#include "report/finding_fixes.h"

#include <gtest/gtest.h>

namespace fernwick::report {
namespace {

using enum FindingId;

struct FixCase {
  FindingId id;
  WindowsFacts windows;
  Severity severity;
  std::string_view says;     // the fix holds this
  std::string_view notSays;  // and not this
};

constexpr WindowsFacts kUnknown{};
constexpr WindowsFacts k2003{5, 2, 0};
constexpr WindowsFacts k2008x86{6, 0, 32};
constexpr WindowsFacts k2008x64{6, 0, 64};
constexpr WindowsFacts k2008{6, 0, 0};
constexpr WindowsFacts k2008R2{6, 1, 0};

TEST(FindingFixes, BootAndOffloadFixesFollowTheWindowsVersion) {
  const FixCase cases[] = {
      {PortsBootIniNotFound, k2003, Severity::Warning, "c:\\boot.ini holds /3GB", "bcdedit"},
      {PortsBootIniNotFound, k2008x86, Severity::Notice, "bcdedit /set increaseuserva 2800", "boot.ini holds"},
      {PortsBootIniNotFound, k2008x64, Severity::Notice, "Nothing to set", "bcdedit"},
      {PortsBootIniNotFound, k2008, Severity::Notice, "64-bit Windows needs no boot setting", "boot.ini holds"},
      {PortsBootIniNotFound, k2008R2, Severity::Notice, "Nothing to set", "bcdedit"},
      {PortsBootIniNotFound, kUnknown, Severity::Warning, "Windows Server 2003: make sure", ""},
      {PortsUservaMissing, k2008x86, Severity::Notice, "bcdedit /set increaseuserva 2800", "bootcfg"},
      {Ports3GbMissing, k2003, Severity::Warning, "bootcfg /raw \"/3GB\"", "bcdedit"},
      {TcpChimneyEnabled, k2003, Severity::Warning, "netsh int ip set chimney DISABLED", "netsh int tcp"},
      {TcpChimneyEnabled, k2008R2, Severity::Warning, "netsh int tcp set global chimney=disabled", "netsh int ip"},
      {TcpChimneyUnknown, k2008, Severity::Notice, "netsh int tcp set global chimney=disabled", "netsh int ip"},
      {RssEnabled, k2003, Severity::Warning, "EnableRSS to 0", "rss=disabled"},
      {RssEnabled, k2008x86, Severity::Warning, "netsh int tcp set global rss=disabled", "EnableRSS"},
      {RssUnknown, k2008R2, Severity::Notice, "netsh int tcp set global rss=disabled", "EnableRSS"},
  };
  for (const FixCase& c : cases) {
    const FindingForServer here = ForServer(Info(c.id), c.windows);
    const std::string name = std::string(Info(c.id).name) + " on " + WindowsName(c.windows);
    EXPECT_EQ(here.severity, c.severity) << name;
    EXPECT_NE(here.fix.find(c.says), std::string::npos) << name << ": " << here.fix;
    if (!c.notSays.empty()) {
      EXPECT_EQ(here.fix.find(c.notSays), std::string::npos) << name << ": " << here.fix;
    }
  }
}

TEST(FindingFixes, SoftwareKeysAreNamedAsThe64BitRegeditShowsThem) {
  const FindingInfo& heap = Info(PortsLowFragHeapOff);
  EXPECT_NE(ForServer(heap, k2008R2).fix.find("HKLM\\SOFTWARE\\Wow6432Node\\Tessaline"), std::string::npos);
  EXPECT_EQ(ForServer(heap, k2008x86).fix.find("Wow6432Node"), std::string::npos);
  const std::string unknown = ForServer(Info(WdaPolicyNotInstalled), kUnknown).fix;
  EXPECT_NE(unknown.find("HKLM\\SOFTWARE\\Norvane Systems, Inc. as HKLM\\SOFTWARE\\Wow6432Node\\Norvane Systems, Inc."),
            std::string::npos)
      << unknown;
  // HKLM\SYSTEM has one view only.
  EXPECT_EQ(ForServer(Info(RssEnabled), k2008R2).fix.find("Wow6432Node"), std::string::npos);
}

TEST(FindingFixes, TheFixNamesTheProcessesAndValuesOfItsLines) {
  const std::string_view fix = Info(SharedMemNotRecommended).fix;
  const std::string one = FixNaming(fix, {{"TlNotifierMgr", "1048576"}});
  EXPECT_NE(one.find("Applications\\TlNotifierMgr from 1048576 to 4194304"), std::string::npos) << one;
  const std::string two = FixNaming(fix, {{"TlNotifierMgr", "1048576"}, {"CsBridgeConnector", "2097152"}});
  EXPECT_NE(two.find("For each <process> (<value>): TlNotifierMgr (1048576), CsBridgeConnector (2097152)."),
            std::string::npos)
      << two;
  EXPECT_EQ(FixNaming("Restart.", {{"A", "1"}}), "Restart.");
}

}  // namespace
}  // namespace fernwick::report
