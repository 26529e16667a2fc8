#pragma once
// The batch files the gathering starts and waits for, the file each writes
// the output of its Windows command to, and the file of a server image that
// holds that output (see docs/server-image-programs-and-pages.md).
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "common/text.h"

namespace fernwick::recording {

// Of the systeminfo output the report shows the uptime only, cut from the
// first line that holds "System Up Time:" (in any case) up to the CR LF
// after it: that line, to its CR LF (or the end), is all a capture keeps.
inline std::string SystemUptimeLine(std::string_view output) {
  constexpr std::string_view label = "System Up Time:";
  const auto found = std::search(output.begin(), output.end(), label.begin(), label.end(),
                                 [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
  if (found == output.end()) return {};
  const std::size_t at = static_cast<std::size_t>(found - output.begin());
  const std::size_t lineStart = output.rfind('\n', at) == std::string_view::npos ? 0 : output.rfind('\n', at) + 1;
  const std::size_t lineEnd = output.find("\r\n", at);
  return std::string(
      output.substr(lineStart, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd + 2 - lineStart));
}

// The whole output: the report shows all of ipconfig's.
inline std::string WholeOutput(std::string_view output) {
  return std::string(output);
}

struct GatheringProgram {
  const char* name;                              // the batch file's name without folder and extension
  const char* outputPath;                        // where the batch file writes its command's output
  const char* imageFile;                         // the output's file in the image's programs/
  std::string (*kept)(std::string_view output);  // what of the output a capture keeps
};

inline constexpr std::array<GatheringProgram, 2> kGatheringPrograms{{
    {"si", "c:\\si.txt", "systeminfo.txt", SystemUptimeLine},
    {"ipconfigdump", "c:\\tempipoutput.txt", "ipconfig.txt", WholeOutput},
}};

}  // namespace fernwick::recording
