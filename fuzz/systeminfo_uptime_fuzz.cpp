// The `systeminfo` output that si.bat captures, cut into the uptime text.
// Beyond not crashing: the only failure is the run-time error 5 of a label
// without a line end after it, and an uptime that is found is a piece of
// one line of the output.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/runtime_error.h"
#include "report/system_uptime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string output(reinterpret_cast<const char*>(data), size);
  try {
    const std::string uptime = fernwick::report::UptimeText(output);
    if (uptime == "Unable to parse windows systeminfo output") return 0;
    if (uptime.find("\r\n") != std::string::npos || output.find(uptime) == std::string::npos) std::abort();
  } catch (const fernwick::RuntimeError& e) {
    if (e.Number() != fernwick::err::kInvalidProcedureCall) std::abort();
  }
  return 0;
}
