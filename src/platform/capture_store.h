#pragma once
// What a gathering read, kept so that it can be written out as a server
// image beside the report (see docs/server-image.md). The recording layer
// wraps the platform bundle and implements this; a platform that does not
// record has none.
#include <string>

namespace fernwick::platform {

class CaptureStore {
 public:
  virtual ~CaptureStore() = default;
  // Forgets what was recorded so far: each Go starts a fresh recording.
  virtual void Restart() = 0;
  // Writes what was recorded as a server image into `folder` (a path of the
  // recorded machine, ending in "\"), through the real file system. Returns
  // an empty text when the image was written, else why it was not; never
  // throws.
  virtual std::string WriteImage(const std::string& folder) = 0;
};

}  // namespace fernwick::platform
