#pragma once
// The three lines of capacity and free space written after each storage
// location and database file of the install section.
#include <string>

#include "report/gathering.h"

namespace fernwick::report {

// The drive that holds `path`, as Windows names it: "C:" for "C:\...",
// "\\server\share" for a network path, "" for a relative path.
std::string DriveNameOf(const std::string& path);

// The last figures read. A drive that cannot be read leaves them as they
// were, and its block is computed from them (one error line per failed read
// goes before it).
struct DriveSpaceReads {
  double total = 0;
  double free = 0;
};

void DriveSpaceBlock(Gathering& g, DriveSpaceReads& reads, const std::string& path);

}  // namespace fernwick::report
