#pragma once
// Finds the names a package holds where its files say what they are: the
// report's labelled lines, the workstation facts and registry values of the
// server image, the columns of recorded database answers, the captured
// output of systeminfo and ipconfig, the service list's accounts. Each
// name enters the map with its kind before any file is redacted.
#include <string_view>

#include "redaction/redaction_map.h"

namespace fernwick::redaction {

// `name` is the file's path inside the package ("VoxtraSystemInfo.txt",
// "ServerImage\image.ini"); files of no known kind are left alone.
void CollectNames(std::string_view name, std::string_view bytes, RedactionMap& map);

// Enters one value of the given kind: "DOMAIN\user" and "user@domain" as
// account and domain, "SERVER/Org" (a Domino name) as host and names, a
// UNC path's host; values that are empty, kept or no name are skipped.
void AddValue(Kind kind, std::string_view value, RedactionMap& map);

}  // namespace fernwick::redaction
