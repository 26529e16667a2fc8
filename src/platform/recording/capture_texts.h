#pragma once
// The text files of a server image written from a capture (see
// docs/server-image.md, "Captured images").
#include <map>
#include <string>

#include "platform/recording/capture.h"

namespace fernwick::recording {

// The key every captured image.ini carries in its [capture] section.
inline constexpr const char* kCaptureMarkKey = "RecordedBy";
// The [capture] key of the run's switches.
inline constexpr const char* kSwitchesKey = "Switches";

// What follows the program's name (quoted or up to the first blank) on a
// command line, without the blanks at its ends.
std::string SwitchesOf(const std::string& commandLine);

std::string ImageIniText(const Capture& capture);
// registry/capture.reg: the keys that exist and the values found (REGEDIT4).
std::string RegistryText(const Capture& capture);
// answers.txt: what the other files cannot say.
std::string AnswersText(const Capture& capture);
// versions.txt: the version blocks, as their answers.
std::string VersionsText(const Capture& capture);

// Files whose kept contents are those of a file before them (in the order
// of the capture's paths): upper-cased path -> that file's path. The image
// holds such contents once ("content PATH SOURCE" in answers.txt).
std::map<std::string, std::string> SharedContents(const Capture& capture);

// "YYYY-MM-DD HH:MM:SS"
std::string ImageTimeText(const platform::LocalTime& time);
// The image folder of a drive-letter path ("C:\A\b.txt" -> "drives\C\A\b.txt");
// empty for any other path (a share, say).
std::string DrivesPath(const std::string& windowsPath);

}  // namespace fernwick::recording
