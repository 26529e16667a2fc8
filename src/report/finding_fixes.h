#pragma once
// What a finding asks of this server: its severity and fix depend on the
// Windows the report shows (boot settings and network offload are set
// differently on Windows 2000, Windows Server 2003 and from Windows Server
// 2008 on, and 64-bit Windows of any version needs no boot switch), the
// registry keys of a fix are named as the 64-bit regedit shows them, and a
// fix names what the finding's lines name (the Voxtra processes and their
// values, the run-time error's number). No text has a placeholder.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/findings.h"

namespace fernwick::report {

struct WindowsFacts {
  std::uint32_t major = 0;  // 5 for Windows 2000 and Server 2003, 6 for 2008 to 2012 R2; 0 when unknown
  std::uint32_t minor = 0;
  int bits = 0;  // 32 or 64; 0 when the report does not tell
};

// "Windows 2000", "Windows Server 2003", "Windows Server 2008 R2", ..., with
// " (64-bit)" or " (32-bit)" where known; "64-bit Windows" when only that is
// known; empty when nothing is.
std::string WindowsName(const WindowsFacts& windows);

// 32 or 64 where the Windows version alone tells (Windows 2000 is 32-bit,
// Windows Server 2008 R2 and later 64-bit), else `windows.bits`.
int BitsOf(const WindowsFacts& windows);

struct FindingForServer {
  Severity severity;
  std::string meaning;
  std::string fix;
};

// The finding's severity, meaning and fix on a server of `windows`, in
// general words (the help page's, and a finding without lines).
FindingForServer ForServer(const FindingInfo& info, const WindowsFacts& windows);

// The same for the lines `lines` (findings of `info`'s id): a fix that
// names the processes and values those lines name, a run-time error's
// meaning and fix by its number (that of the first line).
FindingForServer ForLines(const FindingInfo& info, const WindowsFacts& windows,
                          const std::vector<const Finding*>& lines);

// The fixes that differ by Windows, for the help page: the Windows they
// are for and the fix there.
struct FixVariant {
  std::string_view windows;
  Severity severity;
  std::string fix;
};
std::vector<FixVariant> WindowsVariants(const FindingInfo& info);

}  // namespace fernwick::report
