// Fixes and severities for the server's Windows, registry keys named where
// the 64-bit regedit shows them, fixes that name what their lines name, and
// no text with a placeholder or a key it does not name.
#include "report/finding_fixes.h"

#include <gtest/gtest.h>

#include "common/text.h"

#include "report/finding_causes.h"
#include "report/runtime_errors.h"

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
constexpr WindowsFacts k64Bit{0, 0, 64};
constexpr WindowsFacts k2000{5, 0, 0};
constexpr WindowsFacts k2003{5, 2, 0};
constexpr WindowsFacts k2003x86{5, 2, 32};
constexpr WindowsFacts k2003x64{5, 2, 64};
constexpr WindowsFacts k2008x86{6, 0, 32};
constexpr WindowsFacts k2008x64{6, 0, 64};
constexpr WindowsFacts k2008{6, 0, 0};
constexpr WindowsFacts k2008R2{6, 1, 0};
constexpr WindowsFacts k2012R2{6, 3, 0};
constexpr WindowsFacts kEvery[] = {kUnknown, k64Bit,   k2000, k2003,   k2003x86, k2003x64,
                                   k2008x86, k2008x64, k2008, k2008R2, k2012R2};

void ExpectFix(const FixCase& c) {
  const FindingForServer here = ForServer(Info(c.id), c.windows);
  const std::string name = std::string(Info(c.id).name) + " on " + WindowsName(c.windows);
  EXPECT_EQ(here.severity, c.severity) << name;
  EXPECT_NE(here.fix.find(c.says), std::string::npos) << name << ": " << here.fix;
  if (!c.notSays.empty()) {
    EXPECT_EQ(here.fix.find(c.notSays), std::string::npos) << name << ": " << here.fix;
  }
}

TEST(FindingFixes, BootAndOffloadFixesFollowTheWindowsVersion) {
  const FixCase cases[] = {
      {PortsBootIniNotFound, k2003x86, Severity::Warning, "c:\\boot.ini holds /3GB", "bcdedit"},
      {PortsBootIniNotFound, k2008x86, Severity::Notice, "bcdedit /set increaseuserva 2800", "boot.ini holds"},
      {PortsBootIniNotFound, k2008x64, Severity::Notice, "Nothing to set", "bcdedit"},
      {PortsBootIniNotFound, k2008, Severity::Notice, "64-bit Windows needs no boot setting", "boot.ini holds"},
      {PortsBootIniNotFound, k2008R2, Severity::Notice, "Nothing to set", "bcdedit"},
      {PortsBootIniNotFound, kUnknown, Severity::Warning, "32-bit Windows Server 2003: make sure", ""},
      {PortsUservaMissing, k2008x86, Severity::Notice, "bcdedit /set increaseuserva 2800", "bootcfg"},
      {Ports3GbMissing, k2003x86, Severity::Warning, "bootcfg /raw \"/3GB\"", "bcdedit"},
      {Ports3GbMissing, k2003, Severity::Warning, "Windows Server 2003 x64 nothing is to set", "bcdedit"},
      {TcpChimneyEnabled, k2003, Severity::Warning, "netsh int ip set chimney DISABLED", "netsh int tcp"},
      {TcpChimneyUnknown, k2008, Severity::Notice, "netsh int tcp set global chimney=disabled", "netsh int ip"},
      {RssEnabled, k2003, Severity::Warning, "EnableRSS to 0", "rss=disabled"},
      {RssEnabled, k2008x86, Severity::Warning, "netsh int tcp set global rss=disabled", "EnableRSS"},
      {RssUnknown, k2008R2, Severity::Notice, "netsh int tcp set global rss=disabled", "EnableRSS"},
  };
  for (const FixCase& c : cases) ExpectFix(c);
}

// 64-bit Windows Server 2003 reads boot.ini, but needs no boot switch: the
// three boot findings are notices there, as on every 64-bit Windows.
TEST(FindingFixes, SixtyFourBitWindowsOfAnyVersionNeedsNoBootSwitch) {
  for (const WindowsFacts& windows : {k2003x64, k2008x64, k2008R2, k2012R2, k64Bit}) {
    for (FindingId id : {Ports3GbMissing, PortsUservaMissing, PortsBootIniNotFound}) {
      ExpectFix({id, windows, Severity::Notice, "4 GB of address space without a boot switch", "bootcfg"});
      ExpectFix({id, windows, Severity::Notice, "HKLM\\SOFTWARE\\Wow6432Node\\Tessaline", "/userva=2800 to"});
    }
  }
  EXPECT_EQ(WindowsName(k2003x64), "Windows Server 2003 (64-bit)");
  EXPECT_EQ(WindowsName(k64Bit), "64-bit Windows");
}

TEST(FindingFixes, Windows2000IsNamedAndHasItsOwnBootFix) {
  EXPECT_EQ(WindowsName(k2000), "Windows 2000 (32-bit)");
  const FixCase cases[] = {
      {Ports3GbMissing, k2000, Severity::Warning, "Windows 2000 has no bootcfg", "bcdedit"},
      {PortsUservaMissing, k2000, Severity::Notice, "Windows 2000 does not know /userva", "bootcfg"},
      {PortsBootIniNotFound, k2000, Severity::Warning, "ends with /3GB", "Windows Server 2008"},
      {TcpChimneyEnabled, k2000, Severity::Notice, "Windows 2000 has neither", "netsh"},
  };
  for (const FixCase& c : cases) ExpectFix(c);
  EXPECT_EQ(ForServer(Info(PortsLowFragHeapOff), k2000).fix.find("Wow6432Node"), std::string::npos);
}

// Windows Server 2008 and later do not use the value the chimney line
// reports: the report cannot tell whether offload is on.
TEST(FindingFixes, ChimneyOn2008IsANoticeToCheck) {
  for (const WindowsFacts& windows : {k2008, k2008x86, k2008R2, k2012R2}) {
    ExpectFix({TcpChimneyEnabled, windows, Severity::Notice, "netsh int tcp show global", "EnableTCPChimney to 0"});
  }
  ExpectFix({TcpChimneyEnabled, kUnknown, Severity::Warning, "Windows Server 2008 and later do not use", ""});
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

std::string FixFor(FindingId id, const std::vector<Finding>& lines) {
  std::vector<const Finding*> pointers;
  for (const Finding& line : lines) pointers.push_back(&line);
  return ForLines(Info(id), k2003x86, pointers).fix;
}

TEST(FindingFixes, TheFixNamesTheProcessesAndValuesOfItsLines) {
  const Finding notifier{SharedMemNotRecommended, 1, "", "TlNotifierMgr", "1048576"};
  const Finding bridge{SharedMemNotRecommended, 2, "", "CsBridgeConnector", "2097152"};
  EXPECT_EQ(FixFor(SharedMemNotRecommended, {notifier}),
            "Raise the DWORD SharedMemMaxSize under HKLM\\SOFTWARE\\Microsoft\\Windows Messaging "
            "Subsystem\\Applications\\TlNotifierMgr from 1048576 to 4194304 (decimal), then restart the Voxtra "
            "services.");
  EXPECT_NE(FixFor(SharedMemNotRecommended, {notifier, bridge})
                .find("raise the DWORD SharedMemMaxSize of TlNotifierMgr (now 1048576) and CsBridgeConnector (now "
                      "2097152) to 4194304"),
            std::string::npos);
  const Finding keyless{SharedMemValueMissing, 3, "", "TlCsMgr", ""};
  EXPECT_NE(FixFor(SharedMemValueMissing, {keyless})
                .find("to the key HKLM\\SOFTWARE\\Microsoft\\Windows Messaging "
                      "Subsystem\\Applications\\TlCsMgr"),
            std::string::npos);
}

// Every text a reader sees: the table's, each Windows variant, the fixes
// that name their lines, the run-time errors'.
std::vector<std::string> EveryText() {
  std::vector<std::string> texts;
  const Finding line{SharedMemKeyMissing, 0, "", "TlCsMgr", "1048576"};
  for (const FindingInfo& info : AllFindings()) {
    texts.insert(texts.end(), {std::string(info.title), std::string(info.meaning), std::string(info.fix)});
    for (const WindowsFacts& windows : kEvery) {
      Finding named = line;
      named.id = info.id;
      for (const FindingForServer& here : {ForServer(info, windows), ForLines(info, windows, {&named})}) {
        texts.insert(texts.end(), {here.meaning, here.fix});
      }
    }
    for (const FixVariant& variant : WindowsVariants(info)) texts.push_back(variant.fix);
    for (const std::string& explained : WhatItExplains(info.id)) texts.push_back(explained);
  }
  for (const RuntimeErrorInfo& error : AllRuntimeErrors()) {
    texts.insert(texts.end(), {std::string(error.meaning), std::string(error.fix)});
  }
  return texts;
}

// "<process>", "<value>", "<Root Path>": anything in angle brackets.
bool HasPlaceholder(std::string_view text) {
  const auto open = text.find('<');
  return open != std::string_view::npos && text.find('>', open) != std::string_view::npos;
}

bool RefersToAKey(std::string_view text) {
  for (std::string_view words : {"that key", "this key", "those keys", "the same key", "under it"}) {
    if (ContainsNoCase(text, words)) return true;
  }
  return false;
}

TEST(FindingFixes, NoTextHasAPlaceholderAndEveryKeyItRefersToIsNamed) {
  for (const std::string& text : EveryText()) {
    EXPECT_FALSE(HasPlaceholder(text)) << text;
    if (RefersToAKey(text)) {
      EXPECT_NE(text.find("HKLM\\"), std::string::npos) << text;
    }
  }
  // The report's own words may hold angle brackets the report writes, never a placeholder.
  for (const FindingInfo& info : AllFindings()) {
    for (std::string_view placeholderWord : {"<process>", "<value>", "<server"}) {
      EXPECT_EQ(info.wording.find(placeholderWord), std::string_view::npos) << info.name;
    }
  }
}

}  // namespace
}  // namespace fernwick::report
