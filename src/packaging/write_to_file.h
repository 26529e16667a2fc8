#pragma once
// cmdWriteToFile_Click: the report in the window, the event logs, the
// service list and (on newer servers) the switch report, packed into
// "VoxtraInfo.cab" in the output folder.
#include <optional>
#include <string>

#include "common/message_boxes.h"
#include "common/session.h"
#include "platform/platform.h"
#include "probes/voxtra_version.h"
#include "report/report_buffer.h"

namespace fernwick::packaging {

// The parts of the main window that Write To File reads and changes.
class PackagingWindow {
 public:
  virtual ~PackagingWindow() = default;
  virtual std::string ReportText() = 0;  // txtMain
  virtual void SetReportText(const std::string& text) = 0;
  virtual std::string SavePathText() = 0;  // txtSavePath
  // frmSplashScreen, placed relative to the main window.
  virtual void ShowSplash(bool shown) = 0;
  // The gathered report with its findings, for Findings.csv and Summary.htm.
  virtual const report::ReportBuffer* Gathered() { return nullptr; }
};

inline constexpr const char* kCabinetName = "VoxtraInfo.cab";
inline constexpr const char* kReportFileName = "VoxtraSystemInfo.txt";

struct PackagingOutcome {
  bool cabinetMade = false;  // VoxtraInfo.cab is in the output folder
  // The text Findings.csv and Summary.htm were made from (the report file's,
  // without its last line end); nothing when they were not made.
  std::optional<std::string> findingsText;
};

// Message boxes go through `messages` (recorded in a silent run), and so do
// the error lines and the time-outs, which mark a lost part there.
PackagingOutcome cmdWriteToFile_Click(platform::Platform& platform, const Session& session,
                                      const probes::ProductVersion& CurrentVersion, PackagingWindow& window,
                                      MessageBoxes& messages);

// strPathName: the save path with a trailing backslash.
std::string OutputFolderPath(const std::string& savePath);

}  // namespace fernwick::packaging
