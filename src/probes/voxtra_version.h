#pragma once
// Which release of the Voxtra server is installed, and which engineering
// specials (hot fixes) sit on top of it.
#include <cstdint>
#include <string>

#include "common/message_boxes.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace fernwick::probes {

struct ProductVersion {
  bool bFromProductKey = false;
  std::int16_t iMajor = 0;
  std::int16_t iMinor = 0;
  std::int16_t iRelease = 0;
  std::int16_t iBuild = 0;
  std::string strVersion;  // Major.Minor(Release.Build), e.g. 4.2(1.0)
};

// Reads the installed version: the product key first, the legacy key when
// the product key is missing or its major version is not above 0.
ProductVersion getVersion(platform::Registry& registry, MessageBoxes& boxes);

// True when `CurrentVersion` is at or above major.minor(release.build).
bool bIsVersionGreaterThanOrEqualTo(const ProductVersion& CurrentVersion, std::int16_t major, std::int16_t minor,
                                    std::int16_t release, std::int16_t build);

// The block printed after "Patches installed:=": the backup folder's
// subfolder names on the label line, then one line each for the cumulative,
// friendly and private specials of the installed release. Empty when there
// is nothing to list.
std::string strListESesInstalled(const ProductVersion& CurrentVersion, platform::Registry& registry,
                                 platform::FileSystem& files, MessageBoxes& boxes);

// The version of the server being examined, owned by whoever runs a
// gathering: `CurrentVersion` is assigned from getVersion() once, first of
// all, and read by every version gate after that.
class VoxtraVersion {
 public:
  VoxtraVersion(platform::Registry& registry, platform::FileSystem& files, MessageBoxes& boxes)
      : registry_(registry), files_(files), boxes_(boxes) {}

  ProductVersion getVersion() { return probes::getVersion(registry_, boxes_); }
  bool bIsVersionGreaterThanOrEqualTo(std::int16_t major, std::int16_t minor, std::int16_t release,
                                      std::int16_t build) const {
    return probes::bIsVersionGreaterThanOrEqualTo(CurrentVersion, major, minor, release, build);
  }
  std::string strListESesInstalled() { return probes::strListESesInstalled(CurrentVersion, registry_, files_, boxes_); }

  ProductVersion CurrentVersion;

 private:
  platform::Registry& registry_;
  platform::FileSystem& files_;
  MessageBoxes& boxes_;
};

}  // namespace fernwick::probes
