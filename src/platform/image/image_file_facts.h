#pragma once
// What a server image tells about its file system beyond the files
// themselves: each drive's capacity and the dates of files whose date the
// program reads (git keeps no file dates). See docs/server-image.md.
#include <map>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/image/ini_file.h"

namespace fernwick::image {

struct ImageFileFacts {
  std::map<char, platform::DriveSpace> drives;           // by upper-case drive letter
  std::map<std::string, platform::LocalTime> fileDates;  // by upper-cased full Windows path
};

// Reads the sections [drives] ("C=TOTAL FREE", bytes) and [file dates]
// ("C:\PATH=YYYY-MM-DD HH:MM:SS") of image.ini; throws std::runtime_error
// naming the first malformed entry.
ImageFileFacts ReadImageFileFacts(const IniFile& facts);

// "YYYY-MM-DD HH:MM:SS"; nullopt when the text has another form.
std::optional<platform::LocalTime> ParseImageTime(const std::string& text);

}  // namespace fernwick::image
