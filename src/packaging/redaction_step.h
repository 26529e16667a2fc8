#pragma once
// Write To File's redaction step (the switch "redact"): after every file to
// pack is written and before cabmaker runs, each of them, the server image
// included, has its names and addresses replaced by pseudonyms
// (src/redaction). The map of originals and pseudonyms is written beside
// the package as RedactionMap.txt, never packed, and read again by the
// next run; words of RedactionKeywords.txt beside Fernwick.exe are
// replaced too. The window keeps the real report.
#include <string>

#include "common/message_boxes.h"
#include "platform/platform.h"

namespace fernwick::packaging {

// True when cabmaker may pack: the command line has no "redact", or every
// file was redacted. False when a file could not be redacted (a malformed
// keyword or map file, a file that cannot be read or written): then no
// cabinet may be made, and the reason is recorded as a lost part.
bool RedactPackageIfAsked(platform::Platform& p, const std::string& strPathName, MessageBoxes& record);

}  // namespace fernwick::packaging
