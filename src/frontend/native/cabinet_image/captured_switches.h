#pragma once
// What a captured image states of the run that recorded it (image.ini's
// [capture] section).
#include <filesystem>
#include <optional>
#include <string>

namespace fernwick::native {

// The switches of the recording run ([capture] Switches), "silent" left
// out: it says how the run packed, not what it gathered. nullopt when the
// image is no capture.
std::optional<std::string> CapturedSwitches(const std::filesystem::path& image);

// The Fernwick that recorded it ("2.0.4" of "RecordedBy=Fernwick 2.0.4");
// empty when the image does not say.
std::string RecordedBy(const std::filesystem::path& image);

}  // namespace fernwick::native
