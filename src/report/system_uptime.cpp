#include "report/system_uptime.h"

#include "common/classic_strings.h"

namespace fernwick::report {

std::string UptimeText(std::string_view systemInfoOutput) {
  const std::size_t label = InStr(1, systemInfoOutput, "System Up Time:", true);
  if (label == 0) return "Unable to parse windows systeminfo output";
  const std::size_t lineEnd = InStr(label, systemInfoOutput, "\r\n");
  const auto start = static_cast<long long>(label) + 26;
  return Mid(systemInfoOutput, start, static_cast<long long>(lineEnd) - start);
}

}  // namespace fernwick::report
