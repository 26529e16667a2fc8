#pragma once
// The batch files the gathering starts and waits for, the file each writes
// the output of its Windows command to, and the file of a server image that
// holds that output (see docs/server-image-programs-and-pages.md).
#include <array>

namespace fernwick::recording {

struct GatheringProgram {
  const char* name;        // the batch file's name without folder and extension
  const char* outputPath;  // where the batch file writes its command's output
  const char* imageFile;   // the output's file in the image's programs/
};

inline constexpr std::array<GatheringProgram, 2> kGatheringPrograms{{
    {"si", "c:\\si.txt", "systeminfo.txt"},
    {"ipconfigdump", "c:\\tempipoutput.txt", "ipconfig.txt"},
}};

}  // namespace fernwick::recording
