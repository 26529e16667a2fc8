#include "packaging/write_to_file.h"

#include <exception>

#include "common/message_boxes.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "packaging/capture_step.h"
#include "packaging/external_app.h"
#include "packaging/findings_files.h"
#include "packaging/folder_select.h"
#include "packaging/redaction_step.h"
#include "packaging/wait_limits.h"

namespace fernwick::packaging {
namespace {

void Check(std::uint32_t code) {
  if (code != 0) Raise(ErrorNumberOf(code));
}

// One run of the handler: the window, the debug switch and the two error
// policies (ignore, or append an error line and go on).
class WriteToFileRun {
 public:
  WriteToFileRun(PackagingWindow& window, MessageBoxes& messages, bool debug)
      : window_(window), messages_(messages), debug_(debug) {}

  void Debug(const std::string& text) {
    if (debug_) window_.SetReportText(window_.ReportText() + "\r\n" + text);
  }

  // Runs one operation; a failure becomes a line in the report box and in
  // the run's record.
  template <typename Operation>
  void Step(Operation&& operation) {
    try {
      operation();
    } catch (const std::exception& e) {
      const std::string line = "(error) in cmdWriteToFile routine:" + AsRuntimeError(e).Description();
      window_.SetReportText(window_.ReportText() + "\r\n" + line + "\r\n");
      messages_.RecordLostPart(line);
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

  // A silent run records the message and goes on.
  void Message(const std::string& text) { messages_.Show(text); }

 private:
  PackagingWindow& window_;
  MessageBoxes& messages_;
  bool debug_;
};

void RemoveQuietly(platform::FileSystem& files, const std::string& folder, std::initializer_list<const char*> names) {
  for (const char* name : names) WriteToFileRun::Quietly([&] { files.RemoveFile(folder + name, false); });
}

void CleanUp(platform::FileSystem& files, const std::string& strPathName) {
  RemoveQuietly(files, strPathName,
                {"voxtrasysteminfo.txt", "system_event_log.csv", "application_event_log.csv", "setup.rpt", "setup.inf",
                 "voxtrainfo.ddf", "ServiceInfo.csv"});
  WriteToFileRun::Quietly([&] { files.RemoveEmptyFolder(strPathName + "disk1"); });
  RemoveQuietly(files, strPathName, {"SwitchReport.html", "media.bat", "TelCfgRpt.vbs", "switchlog.txt"});
  WriteToFileRun::Quietly([&] { files.RemoveFile(strPathName + "TelCfgRpt.vbs", true); });
  RemoveFindingsFiles(files, strPathName);
  RemovePackedServerImage(files, strPathName);
}

// Without a cabinet the loose files are all the package there is: they stay.
bool CabinetMade(platform::FileSystem& files, const std::string& strPathName, WriteToFileRun& run) {
  if (files.FileExists(strPathName + kCabinetName)) return true;
  const std::string reason =
      std::string(kCabinetName) + " was not made; the report and the other files are left in " + strPathName;
  run.Step([&] { throw RuntimeError(err::kFileNotFound, reason); });
  return false;
}

}  // namespace

std::string OutputFolderPath(const std::string& savePath) {
  return !savePath.empty() && savePath.back() == '\\' ? savePath : savePath + "\\";
}

PackagingOutcome cmdWriteToFile_Click(platform::Platform& p, const Session& session,
                                      const probes::ProductVersion& CurrentVersion, PackagingWindow& window,
                                      MessageBoxes& messages) {
  auto& files = p.files;
  const std::string savePath = window.SavePathText();
  const std::string strPathName = OutputFolderPath(savePath);
  // Steps 5 and 21 would delete the shipped files there.
  if (IsInstallFolder(p, strPathName)) {
    messages.Show(kInstallFolderRefused);
    return {};
  }
  if (!session.bSilentMode) {
    p.ui.SetWaitPointer(true);
    window.ShowSplash(true);
  }
  const bool bDebugMode = ContainsNoCase(p.program.CommandLine(), "/debug");
  WriteToFileRun run(window, messages, bDebugMode);
  run.Debug("DEBUG: strPathName=" + strPathName);

  RemoveQuietly(files, strPathName,
                {"VoxtraInfo.cab", "voxtrasysteminfo.txt", "system_event_log.csv", "application_event_log.csv",
                 "ServiceInfo.csv", "SwitchReport.html", "media.bat", "switchlog.txt", "TelCfgRpt.vbs"});
  WriteToFileRun::Quietly([&] { files.RemoveFile(strPathName + "TelCfgRpt.vbs", true); });
  RemoveFindingsFiles(files, strPathName);

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
  WriteFindingsFiles(files, strPathName, window.Gathered());
  PackServerImage(p, strPathName, messages);

  const auto quoted = [&](const char* name) { return "\"" + strPathName + name + "\""; };
  const auto runWithin = [&](const std::string& commandLine, const WaitLimit& limit) {
    run.Step([&] { RunAndWaitWithin(p.process, commandLine, limit, messages); });
  };
  runWithin(install + "\\dumpel -d 5 -format dtTSIs -c -l system -f " + quoted("system_event_log.csv"),
            limits::kEventLogDumper);
  runWithin(install + "\\dumpel -d 5 -format dtTSIs -c -l application -f " + quoted("application_event_log.csv"),
            limits::kEventLogDumper);
  run.Debug("DEBUG: Finished dumping out system and application event logs.");
  runWithin(install + "\\Tabulex -o " + quoted("ServiceInfo.csv"), limits::kServiceList);
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
          messages.MarkPartLost();
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
    runWithin(strPathName + "media.bat", limits::kSwitchReport);
    run.Debug("DEBUG: Finished running media.bat");
  } else {
    run.Step([&] { Check(files.CopyFileTo(install + "\\voxtrainfo.ddf", strPathName + "voxtrainfo.ddf")); });
  }

  // With "redact" every file to pack is redacted first; one that cannot be
  // is never packed in the clear.
  const bool packable = RedactPackageIfAsked(p, strPathName, messages);
  const std::string cabmaker = install + "\\cabmaker /f " + quoted("voxtrainfo.ddf");
  run.Debug("DEBUG: Calling cabmaker with string=" + cabmaker);
  if (bDebugMode) run.Message("holding");
  if (packable) runWithin(cabmaker, limits::kCabinetBuilder);

  PackagingOutcome outcome;
  outcome.cabinetMade = CabinetMade(files, strPathName, run);
  if (outcome.cabinetMade) CleanUp(files, strPathName);

  if (!session.bSilentMode) {
    WriteToFileRun::Quietly([&] { window.ShowSplash(false); });
    WriteToFileRun::Quietly([&] { p.ui.SetWaitPointer(false); });
    WriteToFileRun::Quietly([&] { p.process.StartProcess("Explorer " + savePath, platform::kWindowNormalFocus); });
  }
  return outcome;
}

}  // namespace fernwick::packaging
