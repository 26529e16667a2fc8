#pragma once
// The three lines of capacity and free space written after each storage
// location and database file of the install section.
#include <string>

#include "report/gathering.h"

namespace fernwick::report {

// The drive that holds `path`, as Windows names it: "C:" for "C:\...",
// "\\server\share" for a network path, "" for a relative path.
std::string DriveNameOf(const std::string& path);

// Each read of the drive that fails writes its error line; a figure is
// written only from what was read of this drive, so an unreadable drive
// never shows another drive's capacity as its own.
void DriveSpaceBlock(Gathering& g, const std::string& path);

}  // namespace fernwick::report
