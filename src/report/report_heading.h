#pragma once
// The facts Summary.htm and Findings.csv head with (who the report is
// about, when and by which Fernwick it was gathered, the versions), read
// from the report's own lines, so that the findings files say what the
// packed report says: a name the customer replaced in the window before
// Write To File is replaced in them too. A fact whose line is missing or
// empty was not read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/finding_fixes.h"

namespace fernwick::report {

// What the findings files say of a fact that was not read.
inline constexpr std::string_view kNotRead = "not read";

struct ServerIdentity {
  // As the report's lines give them, in its code page; empty: not read.
  std::string name;             // "Voxtra server name = "
  std::string gathered;         // "Gather Date/Time = ": "mm-dd-yyyy / hh:mm:ss"
  std::string fernwickVersion;  // "TORB Version = "
  std::string systemId;         // "Voxtra System ID = "
  std::string version;          // "Voxtra version = "
  std::string sqlVersion;       // "SQL Version = "
  std::string windows;          // "Windows version = "
  std::string backEnd;          // "Back end is ...", "Partner is ..." (the later line)
  std::string partner;          // "Partner Exchange Server Name = ", "Partner Domino Server = "
  WindowsFacts windowsFacts;
  std::uint32_t codePage = 1252;  // the system's ANSI code page, the report's: not in its text
};

// The facts of the report `lines`, in code page `codePage`. Windows' version
// is the Windows version line's "major.minor"; it is 64-bit where the
// version has no 32-bit edition (Windows Server 2008 R2 and later), where
// SQL Server's version names a 64-bit processor ("X64", "IA64": a 64-bit
// SQL Server runs on 64-bit Windows only), or where a line names a folder
// under "Program Files (x86)" or a key under "Wow6432Node" (both exist on
// 64-bit Windows only); Windows 2000 is 32-bit.
ServerIdentity ReadHeading(const std::vector<std::string>& lines, std::uint32_t codePage);

// ISO 8601 local time, "2026-12-07T09:02:11", from the report's
// "12-07-2026 / 09:02:11"; empty when `gathered` is no such date and time.
// The report gives no offset from UTC, so none is added.
std::string IsoGathered(std::string_view gathered);

}  // namespace fernwick::report
