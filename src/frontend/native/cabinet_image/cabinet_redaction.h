#pragma once
// `fernwick --redact IN.cab OUT.cab`: a VoxtraInfo.cab made without the
// switch "redact", redacted afterwards as Write To File would have done it
// (every file and the server image inside ServerImage.cab), with the map
// read from and written back to MAP.
#include <filesystem>
#include <optional>
#include <string>

namespace fernwick::native {

struct CabinetRedactionOptions {
  std::filesystem::path in, out, map;
  std::optional<std::filesystem::path> keywords;
};

// Empty when OUT was written, else why not (OUT is then left as it was;
// `badInput` when IN, the map or the keyword file cannot be read or is
// malformed). The note of what was replaced goes to `note`.
std::string RedactCabinet(const CabinetRedactionOptions& options, std::string& note, bool& badInput);

}  // namespace fernwick::native
