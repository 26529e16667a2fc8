#include "packaging/capture_step.h"

#include <exception>
#include <vector>

#include "common/runtime_error.h"
#include "common/text.h"
#include "launch/command_lines.h"
#include "launch/external_app.h"
#include "launch/wait_limits.h"

namespace fernwick::packaging {
namespace {

constexpr const char* kEmptyFolderMark = ".keep";

// A directive-file value or name: quoted, its quotes doubled and its
// percent signs kept from naming a variable.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '%') out += c;
    out += c;
  }
  return out + "\"";
}

// Every file below `folder` (ending in "\"), `relative` in front of its
// name. A folder without files gets ".keep", the image's mark of an empty
// folder, as a cabinet holds files only.
void CollectFiles(platform::FileSystem& files, const std::string& folder, const std::string& relative,
                  std::vector<std::string>& found) {
  const auto listing = files.ListFolder(folder);
  if (!listing) return;
  if (listing->files.empty() && listing->folders.empty() && !relative.empty() &&
      files.WriteWholeFile(folder + kEmptyFolderMark, "")) {
    found.push_back(relative + kEmptyFolderMark);
  }
  for (const auto& name : listing->files) found.push_back(relative + name);
  for (const auto& name : listing->folders) CollectFiles(files, folder + name + "\\", relative + name + "\\", found);
}

void RemoveTree(platform::FileSystem& files, const std::string& folder) {
  if (const auto listing = files.ListFolder(folder)) {
    for (const auto& name : listing->files) files.RemoveFile(folder + name, true);
    for (const auto& name : listing->folders) RemoveTree(files, folder + name + "\\");
  }
  // A server image's own file system never lists the mark.
  files.RemoveFile(folder + kEmptyFolderMark, true);
  files.RemoveEmptyFolder(folder.substr(0, folder.size() - 1));
}

// The directive file that packs every file below `imageFolder` (ending in
// "\") into ServerImage.cab in `outputFolder` (ending in "\"), each under
// its path relative to the image folder.
std::string ImageDirectives(const std::string& imageFolder, const std::string& outputFolder,
                            const std::vector<std::string>& relativeFiles) {
  std::string text = "; The server image of this gathering, for VoxtraInfo.cab (written by Fernwick).\r\n";
  text += ".Option Explicit\r\n";
  text += ".Set CabinetNameTemplate=" + std::string(kImageCabinetName) + "\r\n";
  text += ".Set DiskDirectoryTemplate=" + Quoted(outputFolder.substr(0, outputFolder.size() - 1)) + "\r\n";
  text += ".Set Cabinet=on\r\n.Set Compress=on\r\n.Set CompressionType=MSZIP\r\n.Set MaxDiskSize=0\r\n";
  text += ".Set RptFileName=\r\n.Set InfFileName=\r\n";
  for (const auto& name : relativeFiles) text += Quoted(imageFolder + name) + " " + Quoted(name) + "\r\n";
  return text;
}

// What a cabmaker ended at its limit leaves of ServerImage.cab:
// "ServerImage.cab.part" and the temporaries named after it.
void RemoveCabinetTemporaries(platform::FileSystem& files, const std::string& strPathName) {
  const std::string prefix = std::string(kImageCabinetName) + ".part";
  if (const auto listing = files.ListFolder(strPathName)) {
    for (const auto& name : listing->files) {
      if (StartsWithNoCase(name, prefix)) files.RemoveFile(strPathName + name, true);
    }
  }
}

// Writes the image and packs it; empty when ServerImage.cab was made, else why not.
std::string WriteAndPack(platform::Platform& p, const std::string& strPathName, const std::string& imageFolder,
                         MessageBoxes& record) {
  if (std::string failure = p.capture->WriteImage(imageFolder); !failure.empty()) return failure;
  std::vector<std::string> relativeFiles;
  CollectFiles(p.files, imageFolder, "", relativeFiles);
  const std::string directives = strPathName + kImageDirectivesName;
  if (!p.files.WriteWholeFile(directives, ImageDirectives(imageFolder, strPathName, relativeFiles))) {
    return "cannot write " + directives;
  }
  // An empty stand-in that cabmaker replaces; written, not read, as far as
  // a recording is concerned.
  const std::string cabinet = strPathName + kImageCabinetName;
  if (!p.files.WriteWholeFile(cabinet, "")) return "cannot write " + cabinet;
  const launch::ProgramEnd end = launch::RunAndWaitWithin(
      p.process, launch::ProgramCommandLine(p.program.InstallFolder(), "cabmaker", "/f " + launch::Quoted(directives)),
      launch::limits::kCabinetBuilder, record);
  // Only a cabmaker that says it packed everything made this run's image.
  if (end.how != launch::ProgramEnd::How::kExited) return "how cabmaker ended is unknown";
  if (end.exitCode && *end.exitCode != 0) return "cabmaker ended with exit code " + std::to_string(*end.exitCode);
  if (p.files.ReadWholeFile(cabinet).value_or("").empty()) return "cabmaker made no " + std::string(kImageCabinetName);
  return {};
}

}  // namespace

bool PackServerImage(platform::Platform& p, const std::string& strPathName, MessageBoxes& record) {
  const std::string imageFolder = strPathName + kImageFolderName + "\\";
  const std::string cabinet = strPathName + kImageCabinetName;
  std::string failure;
  try {
    // An earlier run's image that stays (held open by another program) is
    // never packed as this run's, whether or not this run makes one.
    if (const std::uint32_t code = p.files.RemoveFile(cabinet, true); code != 0 && p.files.FileExists(cabinet)) {
      record.RecordLostPart("The server image is not in VoxtraInfo.cab: the " + std::string(kImageCabinetName) +
                            " of an earlier run cannot be removed (" +
                            ErrorDescription(launch::ErrorNumberOf(code)) + ")");
      return true;
    }
    if (p.capture == nullptr || ContainsNoCase(p.program.CommandLine(), kNoCaptureSwitch)) return false;
    RemoveTree(p.files, imageFolder);
    // Made through the bundle, so that a recording leaves out whatever the
    // step does below it, and a later Write To File's image holds none of it.
    p.files.CreateFolder(imageFolder.substr(0, imageFolder.size() - 1));
    failure = WriteAndPack(p, strPathName, imageFolder, record);
  } catch (const RuntimeError& e) {
    failure = e.Description();  // cabmaker outlived its limit and was ended
  } catch (const std::exception& e) {
    failure = "cabmaker cannot be started: " + AsRuntimeError(e).Description();
  }
  try {
    RemoveTree(p.files, imageFolder);
    p.files.RemoveFile(strPathName + kImageDirectivesName, true);
    if (failure.empty()) return false;
    p.files.RemoveFile(cabinet, true);
    RemoveCabinetTemporaries(p.files, strPathName);
    record.RecordLostPart("The server image is not in VoxtraInfo.cab: " + failure);
    return p.files.FileExists(cabinet);
  } catch (const std::exception&) {
    record.MarkPartLost();
    return true;
  }
}

void RemovePackedServerImage(platform::FileSystem& files, const std::string& strPathName) {
  try {
    files.RemoveFile(strPathName + kImageCabinetName, true);
  } catch (const std::exception&) {
  }
}

}  // namespace fernwick::packaging
