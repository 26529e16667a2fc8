#include "packaging/folder_select.h"

#include "common/text.h"
#include "probes/procedure_trap.h"

namespace fernwick::packaging {

std::string cmdBrowse_Click(platform::Platform& platform, MessageBoxes& boxes, const std::string& savePath) {
  probes::ProcedureTrap trap(boxes, "Error ", " in procedure cmdBrowse_Click of Form frmMain");
  const std::string remembered = savePath;
  std::string result;
  std::string shown = savePath;
  trap.Run([&] { result = platform.ui.BrowseForFolder(); });
  trap.Run([&] {
    if (result.empty()) return;
    if (result.back() != '\\') result += '\\';
    shown = result;
  });
  trap.Run([&] {
    // A cancel leaves `result` empty, which never equals the install folder.
    if (EqualsNoCase(result, platform.program.InstallFolder() + "\\")) {
      boxes.Show(kInstallFolderRefused);
      shown = remembered;
    }
  });
  return shown;
}

bool IsInstallFolder(platform::Platform& platform, const std::string& outputFolder) {
  const auto full = [&](const std::string& path) { return platform.files.FullPathName(path).value_or(path); };
  const std::string install = platform.program.InstallFolder() + "\\";
  if (EqualsNoCase(full(outputFolder), full(install))) return true;
  // Another name of the same folder: a short name, \\localhost\C$\..., a
  // substituted drive, a junction.
  const auto output = platform.files.FolderIdentity(outputFolder);
  return output && output == platform.files.FolderIdentity(install);
}

}  // namespace fernwick::packaging
