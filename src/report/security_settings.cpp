#include <array>

#include "common/runtime_error.h"

#include "probes/configuration_database.h"
#include "probes/reg_value_number.h"
#include "probes/registry_api.h"
#include "report/report_guard.h"
#include "report/report_sections.h"

namespace fernwick::report {
namespace {

// The registry keeps an index into this table, not a DSCP code point.
constexpr std::array<const char*, 21> DscpNames = {
    "AF11 DSCP (001010)",
    "AF12 DSCP (001100)",
    "AF13 DSCP (001110)",
    "AF21 DSCP (010010)",
    "AF22 DSCP (010100)",
    "AF23 DSCP (010110)",
    "AF31 DSCP (011010)",
    "AF32 DSCP (011100)",
    "AF33 DSCP (011110)",
    "AF41 DSCP (100010)",
    "AF42 DSCP (100100)",
    "AF43 DSCP (100110)",
    "CS1(precedence 1) DSCP (001000)",
    "CS2(precedence 2) DSCP (010000)",
    "CS3(precedence 3) DSCP (011000)",
    "CS4(precedence 4) DSCP (100000)",
    "CS5(precedence 5) DSCP (101000)",
    "CS6(precedence 6) DSCP (110000)",
    "CS7(precedence 7) DSCP (111000)",
    "default DSCP (000000)",
    "EF DSCP (101110)",
};

const std::string kMiuInitialization = "SOFTWARE\\Tessaline\\Miu\\1.0\\Initialization";

std::int32_t ReadIndex(Gathering& g, const std::string& value, std::int32_t fallback) {
  return probes::RegValueNumber(probes::RegGetValue(g.platform.registry, platform::kHkeyLocalMachine,
                                                    kMiuInitialization, value,
                                                    static_cast<std::int16_t>(probes::RegKind::Dword), fallback));
}

// An index outside the table is an error line, and the setting is printed empty.
void WriteQosLine(Gathering& g, const std::string& label, std::int32_t index) {
  ReportGuard guard(g.buffer);
  std::string name;
  guard([&] {
    if (index < 0 || index >= static_cast<std::int32_t>(DscpNames.size())) Raise(err::kSubscriptOutOfRange);
    name = DscpNames[static_cast<std::size_t>(index)];
  });
  g.buffer.AppendReportLine(label + name);
}

void WriteSecurityNode(Gathering& g, const std::string& label, const std::string& node) {
  g.buffer.AppendReportLine(label + probes::strPullConfigurationString(g.platform.database, g.messages, node));
}

}  // namespace

void WriteSecuritySettings(Gathering& g, probes::VoxtraVersion& version) {
  ReportGuard guard(g.buffer);
  if (version.bIsVersionGreaterThanOrEqualTo(5, 0, 0, 0)) {
    // The first value name ends in "Qos", the second in "QoS".
    std::int32_t callIndex = 14;
    std::int32_t mediaIndex = 20;
    guard([&] { callIndex = ReadIndex(g, "Call Signaling Qos", 14); });
    guard([&] { mediaIndex = ReadIndex(g, "Media Signaling QoS", 20); });
    g.buffer.AppendReportLine("");
    g.buffer.AppendReportLine("    QOS Settings:");
    guard([&] { WriteQosLine(g, "        Call Signaling QoS= ", callIndex); });
    guard([&] { WriteQosLine(g, "        Media Signaling QoS= ", mediaIndex); });
    g.buffer.AppendReportLine("    Security settings:");
    guard([&] { WriteSecurityNode(g, "        RPC port number= ", "System.Security.RpcPortNumber"); });
    guard([&] {
      WriteSecurityNode(
          g, "        Unidentified caller message security= ", "System.Security.UnidentifiedCallerMessageSecurity");
    });
    guard([&] { WriteSecurityNode(g, "        Message aging= ", "System.Security.MessageAging"); });
    guard([&] { WriteSecurityNode(g, "        Mixed mode= ", "System.Security.MixedMode"); });
  }
  g.buffer.AppendReportLine("");
}

}  // namespace fernwick::report
