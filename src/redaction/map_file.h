#pragma once
// The redaction map as a file (RedactionMap.txt beside VoxtraInfo.cab, on
// the server only): ANSI lines "kind<TAB>original<TAB>pseudonym", empty
// lines and lines beginning with ";" skipped. The next run reads it back,
// so its pseudonyms stay.
#include <string>
#include <string_view>
#include <vector>

#include "redaction/redaction_map.h"

namespace fernwick::redaction {

inline constexpr const char* kMapFileName = "RedactionMap.txt";

struct MapFile {
  std::vector<MapEntry> entries;
  std::string error;  // empty when the file was read: else "line N: why"
};

MapFile ParseMapFile(std::string_view text);
std::string MapFileText(const RedactionMap& map);

}  // namespace fernwick::redaction
