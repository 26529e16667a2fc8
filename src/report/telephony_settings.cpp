#include "report/telephony_settings.h"

#include <vector>

#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "probes/file_version_info.h"
#include "probes/reg_value_number.h"
#include "probes/registry_api.h"
#include "probes/switch_info.h"
#include "report/report_guard.h"
#include "report/report_sections.h"

namespace fernwick::report {
namespace {

using probes::RegGetValue;
using probes::RegKind;
constexpr auto kHklm = platform::kHkeyLocalMachine;
constexpr auto kDword = static_cast<std::int16_t>(RegKind::Dword);
const std::string kMiuInitialization = "SOFTWARE\\Tessaline\\Miu\\1.0\\Initialization";

std::string ReadString(Gathering& g, const std::string& key, const std::string& value,
                       const std::string& fallback = {}) {
  return probes::RegGetString(g.platform.registry, key, value, fallback);
}

bool KeyExists(Gathering& g, const std::string& key) {
  return probes::RegKeyExists(g.platform.registry, kHklm, key);
}

void WriteTelephonyProvider(Gathering& g, CFileVersionInfo& fileVersion) {
  const std::string systemFolder =
      ReadString(g, "Software\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot") + "\\system32\\";
  const std::string tsp = systemFolder + "tlphonelink.tsp";
  if (!g.platform.files.FileExists(tsp)) {
    g.buffer.AppendReportLine("     Norvane Voxtra TSP version = -not installed-");
    return;
  }
  fileVersion.FullPathName(tsp);
  g.buffer.AppendReportLine("     Norvane Voxtra TSP version = " + fileVersion.ProductVersion());
}

void WriteSecurityAgent(Gathering& g) {
  const std::string key = "SOFTWARE\\Norvane\\WDAgent";
  if (!KeyExists(g, key)) {
    g.buffer.AppendReportLine("     WDAgent = -not installed-");
    return;
  }
  ReportGuard guard(g.buffer);
  guard([&] { g.buffer.AppendReportLine("     WDAgent Version = " + ReadString(g, key, "FullVersion", "-empty-")); });
  guard([&] { g.buffer.AppendReportLine("         WDA Agent BaseDir = " + ReadString(g, key, "BaseDir", "-empty-")); });
  guard([&] { g.buffer.AppendReportLine("         WDAgent LogDir = " + ReadString(g, key, "LogDir", "-empty-")); });
  guard([&] { g.buffer.AppendReportLine("         WDAgent OEM = " + ReadString(g, key, "OEM", "-empty-")); });
  std::int32_t standalone = -1;
  guard([&] {
    standalone = probes::RegValueNumber(RegGetValue(g.platform.registry, kHklm, key, "Standalone", kDword, -1));
  });
  if (standalone >= 0) {
    g.buffer.AppendReportLine("         WDAgent Standalone = " + PlainNumber(standalone));
  } else {
    g.buffer.AppendReportLine("         WDAgent Standalone = - emtpy -");
  }
  if (standalone == 1) {
    const std::string policy = "SOFTWARE\\Norvane Systems, Inc.\\System info\\Voxtra-WDA Policy";
    if (KeyExists(g, policy)) {
      g.buffer.AppendReportLine("         Voxtra WDA Policy = " + ReadString(g, policy, "Version", "-empty-"));
    } else {
      g.buffer.AppendFindingLine(FindingId::WdaPolicyNotInstalled,
                                 "         Voxtra WDA Policy = -Error, not installed-");
    }
  } else {
    g.buffer.AppendReportLine("         Voxtra WDA Policy = - Unknown, managed agent -");
  }
}

void WritePlatformConfiguration(Gathering& g) {
  const std::string key = "SOFTWARE\\Norvane Systems, Inc.\\System Info\\Hardware";
  if (KeyExists(g, key)) {
    g.buffer.AppendReportLine("     PCD : CfgCode=" +
                              ReadString(g, key, "CfgCode", "<could not find PCD information>"));
  } else {
    g.buffer.AppendReportLine("     PCD : <not installed with PCD>");
  }
}

void WriteSwitches(Gathering& g, const probes::ProductVersion& current) {
  // The integrations are loaded in every case; their own error trap shows
  // message boxes.
  probes::SwitchInfo switches(g.platform.registry, g.messages);
  switches.InitalizeSwitchInfo(current);
  ReportGuard guard(g.buffer);
  if (current.iMajor < 4) {
    guard([&] {
      g.buffer.AppendReportLine("     Switch 0 = " +
                                ReadString(g, kMiuInitialization + "\\Switch 0", "Switch Configuration File"));
    });
    guard([&] {
      const std::string second = kMiuInitialization + "\\Switch 1";
      g.buffer.AppendReportLine(KeyExists(g, second)
                                    ? "     Switch 1 = " + ReadString(g, second, "Switch Configuration File")
                                    : std::string("     Switch 1 = Not installed"));
    });
    return;
  }
  for (std::int16_t n = 1; n <= switches.SwitchCount(); ++n) {
    guard([&] {
      std::string name;
      std::int16_t id = 0;
      switches.GetSwitchInfoBySwitchCount(n, name, id);
      g.buffer.AppendReportLine("     Switch " + std::to_string(n) + " = " + name + ", ID=" + std::to_string(id));
    });
  }
}

void WritePorts(Gathering& g, const probes::ProductVersion& current) {
  ReportGuard guard(g.buffer);
  PortFacts facts;
  facts.major = current.iMajor;
  // A missing port configuration key has no upper bound: error line, figure 0.
  guard([&] {
    facts.portCount = probes::UpperBound(
        probes::RegEnumSubkeys(g.platform.registry, kHklm, "SOFTWARE\\Tessaline\\Arbiter\\1.0\\Port Configuration"));
  });
  guard([&] {
    facts.lowFragHeap =
        facts.portCount > 72 && probes::RegValueNumber(RegGetValue(g.platform.registry, kHklm, "SOFTWARE\\Tessaline",
                                                                   "LHFEnabled", kDword, std::int32_t{0})) > 0;
  });
  if (facts.portCount >= 97 && g.platform.files.FileExists("c:\\boot.ini")) {
    // A boot.ini that cannot be read whole is searched as an empty text.
    facts.bootIni = std::string();
    guard([&] {
      const auto text = g.platform.files.ReadWholeFile("c:\\boot.ini");
      if (!text) Raise(err::kPermissionDenied);
      if (text->empty()) Raise(err::kInputPastEndOfFile);
      facts.bootIni = *text;
    });
  }
  if (facts.portCount >= 73 && current.iMajor == 5) {
    guard([&] {
      const auto sessions =
          RegGetValue(g.platform.registry, kHklm, "SOFTWARE\\Tessaline\\MalEx\\1.0", "MAPISessionCount", kDword);
      if (!std::holds_alternative<std::monostate>(sessions)) facts.mapiSessionCount = probes::RegValueNumber(sessions);
    });
  }
  g.buffer.AppendMarkedLine("     Ports configured = " + PortsConfiguredText(facts));
}

void WriteRecordingCodec(Gathering& g) {
  std::int32_t format = 0;
  ReportGuard guard(g.buffer);
  guard([&] {
    format = probes::RegValueNumber(
        RegGetValue(g.platform.registry, kHklm, kMiuInitialization, "Default Wave Format", kDword));
  });
  g.buffer.AppendReportLine(
      "     Default recording codec = " +
      ReadString(g, kMiuInitialization + "\\wave format " + std::to_string(format), "Format Name"));
}

}  // namespace

MarkedText PortsConfiguredText(const PortFacts& facts) {
  const std::string number = PlainNumber(static_cast<double>(facts.portCount));
  MarkedText text;
  if (facts.portCount >= 97) {
    std::string missing;
    std::vector<FindingId> found;
    bool threeGb = false;
    bool userva = false;
    if (facts.bootIni) {
      missing = " ";
      const auto add = [&](const std::string& what) { missing = missing != " " ? missing + ", " + what : what; };
      threeGb = ContainsNoCase(*facts.bootIni, "/3GB");
      if (!threeGb) {
        missing = "/3GB";
        found.push_back(FindingId::Ports3GbMissing);
      }
      userva = ContainsNoCase(*facts.bootIni, "/userva=2800");
      if (!userva) {
        add("/userva=2800");
        found.push_back(FindingId::PortsUservaMissing);
      }
      if (!facts.lowFragHeap) {
        add("Registry (Low Fragment Heap)");
        found.push_back(FindingId::PortsLowFragHeapOff);
      }
    } else {
      missing = "c:\\Boot.ini Not Found";
      found.push_back(FindingId::PortsBootIniNotFound);
    }
    text = threeGb && userva && facts.lowFragHeap ? number
                                                  : number + " *** Warning requirements missing : " + missing + " ****";
    for (FindingId id : found) text.marks.push_back({0, id, {}, {}});
  } else if (facts.lowFragHeap || facts.portCount < 73) {
    text = number;
  } else {
    text = {FindingId::PortsLowFragHeapOff,
            number + " *** Warning > 72 ports but Registry (Low Fragment Heap) not enabled ***"};
  }
  if (facts.portCount >= 73 && facts.major == 5 && facts.mapiSessionCount != 4) {
    text += {FindingId::PortsMapiThreadsLow, "(*** Warning MAPI Threads should be increased - see QDFaa10001 ***)"};
  }
  return text;
}

void WriteTelephonySettings(Gathering& g, probes::VoxtraVersion& version, CFileVersionInfo& fileVersion) {
  ReportGuard guard(g.buffer);
  guard([&] { WriteTelephonyProvider(g, fileVersion); });
  guard([&] { WriteSecurityAgent(g); });
  guard([&] { WritePlatformConfiguration(g); });
  guard([&] { WriteSwitches(g, version.CurrentVersion); });
  guard([&] { WritePorts(g, version.CurrentVersion); });
  guard([&] { WriteRecordingCodec(g); });
}

}  // namespace fernwick::report
