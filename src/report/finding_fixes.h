#pragma once
// What a finding asks of this server: its severity and fix depend on the
// Windows the report shows (boot settings and network offload are set
// differently from Windows Server 2008 on), the registry keys of a fix are
// named as the 64-bit regedit shows them, and <process> and <value> stand
// for what the finding's line names.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/findings.h"

namespace fernwick::report {

struct WindowsFacts {
  std::uint32_t major = 0;  // 5 for Windows Server 2003, 6 for 2008 and 2008 R2; 0 when unknown
  std::uint32_t minor = 0;
  int bits = 0;  // 32 or 64; 0 when the report does not tell
};

// "Windows Server 2003", "Windows Server 2008", "Windows Server 2008 R2",
// with " (64-bit)" or " (32-bit)" where known; empty when unknown.
std::string WindowsName(const WindowsFacts& windows);

struct FindingForServer {
  Severity severity;
  std::string fix;
};

// The finding's severity and fix on a server of `windows`.
FindingForServer ForServer(const FindingInfo& info, const WindowsFacts& windows);

// `fix` with <process> and <value> replaced: by the one process and value
// when every line names the same, else followed by the list of them.
// `named` holds each line's process and value.
std::string FixNaming(std::string_view fix, const std::vector<std::pair<std::string, std::string>>& named);

// The fixes that differ by Windows, for the help page: the Windows they
// are for and the fix there.
struct FixVariant {
  std::string_view windows;
  Severity severity;
  std::string fix;
};
std::vector<FixVariant> WindowsVariants(const FindingInfo& info);

}  // namespace fernwick::report
