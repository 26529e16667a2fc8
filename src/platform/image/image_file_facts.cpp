#include "platform/image/image_file_facts.h"

#include <cstdio>
#include <stdexcept>

#include "common/text.h"
#include "platform/image/windows_path.h"

namespace fernwick::image {
namespace {

std::optional<platform::DriveSpace> ParseDriveSpace(const std::string& text) {
  unsigned long long total = 0;
  unsigned long long available = 0;
  char extra = 0;
  if (std::sscanf(text.c_str(), "%llu %llu %c", &total, &available, &extra) != 2 || available > total) {
    return std::nullopt;
  }
  return platform::DriveSpace{static_cast<double>(total), static_cast<double>(available)};
}

}  // namespace

std::optional<platform::LocalTime> ParseImageTime(const std::string& text) {
  platform::LocalTime t;
  char extra = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d %c", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second,
                  &extra) != 6 ||
      t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59) {
    return std::nullopt;
  }
  return t;
}

ImageFileFacts ReadImageFileFacts(const IniFile& facts) {
  ImageFileFacts out;
  for (const auto& [letter, value] : facts.Section("drives")) {
    const auto space = ParseDriveSpace(value);
    if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z' || !space) {
      throw std::runtime_error("[drives] " + letter + "=" + value + ": expected LETTER=TOTAL_BYTES FREE_BYTES");
    }
    out.drives[letter[0]] = *space;
  }
  for (const auto& [path, value] : facts.Section("file dates")) {
    const auto resolved = ResolveWindowsPath(path, "C:\\");
    const auto time = ParseImageTime(value);
    if (!resolved || path.size() < 3 || path[1] != ':' || !time) {
      throw std::runtime_error("[file dates] " + path + "=" + value + ": expected C:\\PATH=YYYY-MM-DD HH:MM:SS");
    }
    out.fileDates[ToUpper(resolved->Text())] = *time;
  }
  return out;
}

}  // namespace fernwick::image
