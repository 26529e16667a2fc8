#pragma once
// `fernwick --fleet DIR|CAB... [--csv FILE] [--html FILE] [--all] [--jobs N]
// [--as-of yyyy-mm-dd]`: every VoxtraInfo.cab below the folders given,
// re-checked with today's rules, as one table of servers and findings and
// one page (docs/fleet.md).
#include <string>
#include <vector>

namespace fernwick::native {

inline constexpr int kFleetRead = 0;        // every CAB read
inline constexpr int kFleetSomeUnread = 1;  // some CABs could not be read (each named)
inline constexpr int kFleetBad = 2;         // bad arguments, an output not written, or no CAB read

bool AsksForFleet(const std::vector<std::string>& args);
// `args` are the arguments after the program's name; returns the exit code.
int FleetCommand(const std::vector<std::string>& args);

}  // namespace fernwick::native
