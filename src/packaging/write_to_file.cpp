#include "packaging/write_to_file.h"

#include <exception>

#include "common/message_boxes.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "packaging/capture_step.h"
#include "packaging/external_app.h"

namespace fernwick::packaging {
namespace {

constexpr std::uint32_t kTabulexTimeoutMs = 30000;
constexpr std::uint32_t kSwitchReportTimeoutMs = 30000;

void Check(std::uint32_t code) {
  if (code != 0) Raise(ErrorNumberOf(code));
}

// One run of the handler: the window, the debug switch and the two error
// policies (ignore, or append an error line and go on).
class WriteToFileRun {
 public:
  WriteToFileRun(platform::Platform& platform, PackagingWindow& window, bool debug)
      : p_(platform), window_(window), debug_(debug) {}

  void Debug(const std::string& text) {
    if (debug_) window_.SetReportText(window_.ReportText() + "\r\n" + text);
  }

  // Runs one operation; a failure becomes a line in the report box.
  template <typename Operation>
  void Step(Operation&& operation) {
    try {
      operation();
    } catch (const std::exception& e) {
      window_.SetReportText(window_.ReportText() +
                            "\r\n(error) in cmdWriteToFile routine:" + AsRuntimeError(e).Description() + "\r\n");
    }
  }

  // Runs one operation whose failure does not matter.
  template <typename Operation>
  static void Quietly(Operation&& operation) {
    try {
      operation();
    } catch (const std::exception&) {
    }
  }

  void Message(const std::string& text) { p_.ui.MessageBox(text, kProgramTitle, platform::kMbOk); }

 private:
  platform::Platform& p_;
  PackagingWindow& window_;
  bool debug_;
};

void RemoveQuietly(platform::FileSystem& files, const std::string& folder, std::initializer_list<const char*> names) {
  for (const char* name : names) WriteToFileRun::Quietly([&] { files.RemoveFile(folder + name, false); });
}

}  // namespace

std::string OutputFolderPath(const std::string& savePath) {
  return !savePath.empty() && savePath.back() == '\\' ? savePath : savePath + "\\";
}

void cmdWriteToFile_Click(platform::Platform& p, const Session& session, const probes::ProductVersion& CurrentVersion,
                          PackagingWindow& window) {
  auto& files = p.files;
  if (!session.bSilentMode) {
    p.ui.SetWaitPointer(true);
    window.ShowSplash(true);
  }
  const std::string savePath = window.SavePathText();
  const std::string strPathName = OutputFolderPath(savePath);
  const bool bDebugMode = ContainsNoCase(p.program.CommandLine(), "/debug");
  WriteToFileRun run(p, window, bDebugMode);
  run.Debug("DEBUG: strPathName=" + strPathName);

  RemoveQuietly(files, strPathName,
                {"VoxtraInfo.cab", "voxtrasysteminfo.txt", "system_event_log.csv", "application_event_log.csv",
                 "ServiceInfo.csv", "SwitchReport.html", "media.bat", "switchlog.txt", "TelCfgRpt.vbs"});
  WriteToFileRun::Quietly([&] { files.RemoveFile(strPathName + "TelCfgRpt.vbs", true); });

  const std::string install = p.program.InstallFolder();
  run.Debug("DEBUG: opening VoxtraSystemInfo.txt");
  const std::string reportFile = strPathName + kReportFileName;
  bool reportOpen = false;
  run.Step([&] {
    if (files.FileExists(reportFile)) Check(files.RemoveFile(reportFile, true));
  });
  run.Step([&] {
    // The window's text is already in the ANSI code page; the file ends
    // with one more line end.
    if (!files.WriteWholeFile(reportFile, window.ReportText() + "\r\n")) {
      Raise(files.FolderExists(strPathName) ? err::kPermissionDenied : err::kPathNotFound);
    }
    reportOpen = true;
  });
  if (!reportOpen) {
    // Writing to and closing a file that never opened fail in turn.
    run.Step([] { Raise(err::kBadFileNameOrNumber); });
    run.Step([] { Raise(err::kBadFileNameOrNumber); });
  }
  run.Debug("DEBUG: Finished writing VoxtraSystemInfo.txt");
  PackServerImage(p, session, strPathName);

  const auto quoted = [&](const char* name) { return "\"" + strPathName + name + "\""; };
  run.Step([&] {
    RunAndWait(p.process, install + "\\dumpel -d 5 -format dtTSIs -c -l system -f " + quoted("system_event_log.csv"),
               platform::kWindowHidden, platform::kInfinite);
  });
  run.Step([&] {
    RunAndWait(p.process,
               install + "\\dumpel -d 5 -format dtTSIs -c -l application -f " + quoted("application_event_log.csv"),
               platform::kWindowHidden, platform::kInfinite);
  });
  run.Debug("DEBUG: Finished dumping out system and application event logs.");
  run.Step([&] {
    RunAndWait(p.process, install + "\\Tabulex -o " + quoted("ServiceInfo.csv"), platform::kWindowHidden,
               kTabulexTimeoutMs);
  });
  run.Debug("DEBUG: Finished tabulex.");

  run.Step([&] {
    if (files.SetCurrentFolder(strPathName) != 0) Raise(err::kPathNotFound);
  });
  run.Debug("DEBUG: Currentdirectory=" + files.CurrentFolder());
  run.Debug("DEBUG: App.Path=" + install);

  if (probes::bIsVersionGreaterThanOrEqualTo(CurrentVersion, 4, 0, 0, 10)) {
    const auto copyShipped = [&](const char* shipped, const char* target, const char* missingMessage) {
      run.Step([&] {
        if (!files.FileExists(install + "\\" + shipped)) {
          run.Message(missingMessage);
        } else {
          Check(files.CopyFileTo(install + "\\" + shipped, strPathName + target));
        }
      });
    };
    copyShipped("voxtrainfo_SwitchInfo.ddf", "voxtrainfo.ddf",
                "Could not find VoxtraInfo_SwitchInfo.DDF in the install directory.  Please uninstall and reinstall "
                "TORB.");
    copyShipped("TelCfgRpt.vbs", "TelCfgRpt.vbs",
                "Could not find TelCfgRpt.vbs in the install directory.  Please uninstall and reinstall TORB.");
    copyShipped("media.bat", "media.bat",
                "Could not find media.bat in the install directory.  Please uninstall and reinstall TORB.");
    run.Step(
        [&] { RunAndWait(p.process, strPathName + "media.bat", platform::kWindowHidden, kSwitchReportTimeoutMs); });
    run.Debug("DEBUG: Finished running media.bat");
  } else {
    run.Step([&] { Check(files.CopyFileTo(install + "\\voxtrainfo.ddf", strPathName + "voxtrainfo.ddf")); });
  }

  const std::string cabmaker = install + "\\cabmaker /f " + quoted("voxtrainfo.ddf");
  run.Debug("DEBUG: Calling cabmaker with string=" + cabmaker);
  if (bDebugMode) run.Message("holding");
  run.Step([&] { RunAndWait(p.process, cabmaker, platform::kWindowHidden, platform::kInfinite); });

  RemoveQuietly(files, strPathName,
                {"voxtrasysteminfo.txt", "system_event_log.csv", "application_event_log.csv", "setup.rpt", "setup.inf",
                 "voxtrainfo.ddf", "ServiceInfo.csv"});
  RemovePackedServerImage(files, strPathName);
  WriteToFileRun::Quietly([&] { files.RemoveEmptyFolder(strPathName + "disk1"); });
  RemoveQuietly(files, strPathName, {"SwitchReport.html", "media.bat", "TelCfgRpt.vbs", "switchlog.txt"});
  WriteToFileRun::Quietly([&] { files.RemoveFile(strPathName + "TelCfgRpt.vbs", true); });

  if (!session.bSilentMode) {
    WriteToFileRun::Quietly([&] { window.ShowSplash(false); });
    WriteToFileRun::Quietly([&] { p.ui.SetWaitPointer(false); });
    WriteToFileRun::Quietly([&] { p.process.StartProcess("Explorer " + savePath, platform::kWindowNormalFocus); });
  }
}

}  // namespace fernwick::packaging
