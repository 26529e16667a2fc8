#pragma once
// Write To File's capture step: the server image of what the gathering read
// (platform::CaptureStore) is written beside the report and packed by
// cabmaker into ServerImage.cab, which the shipped directive files take into
// VoxtraInfo.cab as an optional entry. A capture that fails costs nothing
// else: the report and the rest of the package are never touched, but the
// image is a lost part of the package (exit code 6 of a silent run).
#include <string>

#include "common/message_boxes.h"
#include "platform/platform.h"

namespace fernwick::packaging {

inline constexpr const char* kImageFolderName = "ServerImage";
inline constexpr const char* kImageCabinetName = "ServerImage.cab";
inline constexpr const char* kImageDirectivesName = "ServerImage.ddf";
// The command-line switch (anywhere, any case) that leaves the image out.
inline constexpr const char* kNoCaptureSwitch = "nocapture";

// After the report file is written, before cabmaker packs VoxtraInfo.cab:
// removes an earlier ServerImage.cab, then, when the platform records and
// the switch does not forbid it, writes the image into strPathName's
// "ServerImage\" folder, packs it into ServerImage.cab with a generated
// ServerImage.ddf and removes the folder and the directive file again.
// Why a capture failed (a write failure, cabmaker refusing the image or
// outliving its limit) goes to the run's record (FernwickMessages.txt) as a
// lost part; what cabmaker left of ServerImage.cab is removed.
//
// True when a ServerImage.cab stays in the folder that is not this run's
// (an earlier one that cannot be removed, or one that cannot be removed
// after a failure): it must not be packed.
bool PackServerImage(platform::Platform& p, const std::string& strPathName, MessageBoxes& record);

// After cabmaker: removes ServerImage.cab.
void RemovePackedServerImage(platform::FileSystem& files, const std::string& strPathName);

}  // namespace fernwick::packaging
