#pragma once
// One line of the service listing, the texts of its start type and state
// columns, and the exact bytes of the CSV header and of one service line.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabulex {

inline constexpr std::string_view kCrLf = "\r\n";

// Texts by start type: boot, system, automatic, on demand, disabled; every
// higher value is "Unknown".
inline constexpr std::array<std::string_view, 6> StartTypeNames = {"Boot",   "System",   "Automatic",
                                                                   "Manual", "Disabled", "Unknown"};

// Texts by current state, counted from 1 (stopped). The last entry stands for
// paused, any higher value and 0 alike: a paused service has no text of its own.
inline constexpr std::array<std::string_view, 7> StateNames = {
    "Stopped", "StartPending", "StopPending", "Running", "ContinuePending", "PausePending", "Unknown Status"};

struct ServiceRow {
  std::string serviceName;
  std::string displayName;
  std::string binaryPath;
  std::string account;
  std::string processId;  // decimal
  int startTypeIndex = 5;
  int stateIndex = 7;
};

// What the service control manager answers for one service. Any text may be a
// null pointer (a service created without a display name comes back so).
struct ServiceFacts {
  const char* serviceName = nullptr;
  const char* displayName = nullptr;
  const char* binaryPath = nullptr;
  const char* account = nullptr;
  std::uint32_t startType = 0;
  std::uint32_t currentState = 0;
  std::uint32_t processId = 0;
};

int StartTypeIndex(std::uint32_t startType);
int StateIndex(std::uint32_t currentState);
std::string_view StartTypeName(int startTypeIndex);
std::string_view StateName(int stateIndex);

// Null texts become empty fields; the process id is written as a signed
// 32-bit number.
ServiceRow MakeServiceRow(const ServiceFacts& facts);

// The header line and one service line, each with its CR LF. Values are
// written as they are: a comma inside one shifts the following columns.
std::string FormatHeader();
std::string FormatRow(const ServiceRow& row);

}  // namespace tabulex
