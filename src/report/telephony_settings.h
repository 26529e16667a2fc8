#pragma once
// The rules of the telephony stretch that have corners of their own.
#include <cstdint>
#include <optional>
#include <string>

#include "report/marked_text.h"

namespace fernwick::report {

// What the ports line depends on. `bootIni` is the text of "c:\boot.ini"
// (read only for 97 ports and more; nullopt when the file does not exist),
// `mapiSessionCount` the value "MAPISessionCount" (read only for 73 ports and
// more on version 5; nullopt when absent).
struct PortFacts {
  long portCount = 0;
  bool lowFragHeap = false;
  std::optional<std::string> bootIni;
  std::int16_t major = 0;
  std::optional<std::int32_t> mapiSessionCount;
};

// The text after "     Ports configured = ": the figure in the plain number
// format and the memory-tuning warnings it calls for, marked with their findings.
MarkedText PortsConfiguredText(const PortFacts& facts);

}  // namespace fernwick::report
