#include "packaging/write_to_file.h"

#include <exception>
#include <optional>

#include "common/message_boxes.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "launch/command_lines.h"
#include "launch/external_app.h"
#include "launch/wait_limits.h"
#include "packaging/capture_step.h"
#include "packaging/findings_files.h"
#include "packaging/folder_select.h"
#include "packaging/manifest.h"
#include "packaging/package_ledger.h"
#include "report/findings_csv.h"
#include "report/summary_page.h"
#include "packaging/redaction_step.h"

namespace fernwick::packaging {
namespace {

using launch::ProgramEnd;

// The list cabmaker writes of the optional files it left out, and the name
// every temporary file of its cabinet starts with.
constexpr const char* kLeftOutListName = "cabmaker_leftout.txt";
constexpr const char* kCabinetPartPrefix = "VoxtraInfo.cab.part";

void Check(std::uint32_t code) {
  if (code != 0) Raise(launch::ErrorNumberOf(code));
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
      ErrorLine(AsRuntimeError(e).Description());
    }
  }

  // A lost part, in the report box and in the run's record.
  void ErrorLine(const std::string& description) {
    const std::string line = "(error) in cmdWriteToFile routine:" + description;
    window_.SetReportText(window_.ReportText() + "\r\n" + line + "\r\n");
    messages_.RecordLostPart(line);
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
  RemoveQuietly(files, strPathName, {kLeftOutListName, kManifestName});
}

// Step 5 for the cabinet: an earlier one is removed even when it is
// read-only. When it is still there, why (for the error line that takes the
// place of cabmaker): this run then makes no claim on whatever lies under
// that name.
// Removes an earlier run's file, read-only or not. When it is still there,
// why not, as the error lines say it.
std::optional<std::string> WhyEarlierFileStays(platform::FileSystem& files, const std::string& path) {
  std::uint32_t code = 0;
  WriteToFileRun::Quietly([&] { code = files.RemoveFile(path, true); });
  if (code == 0 || !files.FileExists(path)) return std::nullopt;
  return ErrorDescription(launch::ErrorNumberOf(code));
}

std::optional<std::string> RemoveEarlierCabinet(platform::FileSystem& files, const std::string& strPathName) {
  const auto why = WhyEarlierFileStays(files, strPathName + kCabinetName);
  if (!why) return std::nullopt;
  return "the " + std::string(kCabinetName) + " of an earlier run cannot be removed (" + *why +
         "); no cabinet is made, and the report and the other files are left in " + strPathName;
}

// A cabmaker ended at its limit leaves its temporary files behind.
void RemoveCabinetParts(platform::FileSystem& files, const std::string& strPathName) {
  WriteToFileRun::Quietly([&] {
    const auto listing = files.ListFolder(strPathName);
    if (!listing) return;
    for (const std::string& name : listing->files) {
      if (StartsWithNoCase(name, kCabinetPartPrefix)) files.RemoveFile(strPathName + name, true);
    }
  });
}

// Optional entries of the directive files that are there only when there
// is something to pack: without them nothing is lost. The record was not
// there when cabmaker ran because nothing was recorded yet (the lines about
// what cabmaker left out are the first).
bool AbsentByDesign(platform::FileSystem& files, const std::string& strPathName, const std::string& name,
                    bool findingsWritten) {
  if (EqualsNoCase(name, kMessagesFileName)) return true;
  if (files.FileExists(strPathName + name)) return false;
  if (EqualsNoCase(name, kImageCabinetName)) return true;
  return !findingsWritten &&
         (EqualsNoCase(name, report::kFindingsCsvName) || EqualsNoCase(name, report::kSummaryPageName));
}

// A file cabmaker left out of the cabinet, and why.
struct LeftOutFile {
  std::string name;
  std::string reason;
};

// The left-out list: "<file><TAB><reason>" per line; a line without a file
// says why no cabinet was written. Answers the files that were to be packed
// and were left out.
std::vector<LeftOutFile> RecordLeftOut(platform::FileSystem& files, const std::string& strPathName, std::uint32_t code,
                                       bool findingsWritten, WriteToFileRun& run) {
  std::vector<LeftOutFile> leftOut;
  const auto read = files.ReadWholeFile(strPathName + kLeftOutListName);
  // Exit code 3 says files are missing; which ones only the list tells.
  if (!read && code == 3) {
    run.ErrorLine(std::string("cabmaker left files out of ") + kCabinetName + ", but its list of them (" +
                  kLeftOutListName + ") cannot be read");
  }
  const std::string list = read.value_or("");
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find('\n', start);
    if (end == std::string::npos) end = list.size();
    std::string line = list.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const auto tab = line.find('\t');
    const std::string file = line.substr(0, tab);
    const std::string reason = tab == std::string::npos ? std::string() : line.substr(tab + 1);
    if (file.empty()) {
      run.ErrorLine("cabmaker wrote no cabinet: " + reason);
    } else if (!AbsentByDesign(files, strPathName, file, findingsWritten)) {
      run.ErrorLine("cabmaker left " + file + " out of " + kCabinetName + (reason.empty() ? "" : ": " + reason));
      leftOut.push_back({file, reason});
    }
  }
  return leftOut;
}

// The cabinet counts as made only when cabmaker ended by itself with 0 (all
// packed) or 3 (optional files left out), and the cabinet it put in place
// is there. Without a cabinet the loose files are all the package there
// is: they stay.
bool CabinetMade(platform::FileSystem& files, const std::string& strPathName, const ProgramEnd& cabmaker,
                 bool findingsWritten, WriteToFileRun& run, std::vector<LeftOutFile>& leftOut) {
  bool made = false;
  if (cabmaker.how == ProgramEnd::How::kEndedAtLimit) {
    run.ErrorLine(cabmaker.late);
    RemoveCabinetParts(files, strPathName);
  } else if (cabmaker.how == ProgramEnd::How::kExited && cabmaker.exitCode) {
    const std::uint32_t code = *cabmaker.exitCode;
    if (code == 0 || code == 1 || code == 3) leftOut = RecordLeftOut(files, strPathName, code, findingsWritten, run);
    if (code != 0 && code != 1 && code != 3) {
      run.ErrorLine("cabmaker ended with exit code " + std::to_string(code));
    }
    made = (code == 0 || code == 3) && files.FileExists(strPathName + kCabinetName);
  } else if (cabmaker.how != ProgramEnd::How::kExited) {
    run.ErrorLine("how cabmaker ended is unknown");
  } else {
    run.ErrorLine("cabmaker ended without an exit code");
  }
  if (made) return true;
  run.ErrorLine(std::string(kCabinetName) + " was not made; the report and the other files are left in " + strPathName);
  return false;
}

// The files that the programs Write To File starts write into the output
// folder, each with the part of the package it is. An earlier run's copy of
// one of them is never packed as this run's.
struct ProducedFile {
  const char* name;
  const char* part;
};
constexpr ProducedFile kProducedFiles[] = {
    {"system_event_log.csv", "system event log"}, {"application_event_log.csv", "application event log"},
    {"ServiceInfo.csv", "service list"},          {"SwitchReport.html", "switch report"},
    {"switchlog.txt", "switch report's log"},
};

// The files of this package that hold an earlier run's content and could
// not be removed: they stay out of the cabinet.
using StaleFiles = std::vector<std::string>;

bool IsStale(const StaleFiles& stale, std::string_view name) {
  for (const auto& s : stale) {
    if (EqualsNoCase(s, name)) return true;
  }
  return false;
}

// Removes the earlier run's copies of every produced file, read-only ones
// too. One that stays (open in a spreadsheet without delete sharing, say)
// is a lost part, named with the reason, and is never packed.
StaleFiles ClearProducedFiles(platform::FileSystem& files, const std::string& strPathName, WriteToFileRun& run,
                              PackageLedger& ledger) {
  StaleFiles stale;
  for (const ProducedFile& produced : kProducedFiles) {
    const auto why = WhyEarlierFileStays(files, strPathName + produced.name);
    if (!why) continue;
    stale.emplace_back(produced.name);
    ledger.Lost(produced.name, "the earlier run's file cannot be removed (" + *why + ")");
    run.ErrorLine(std::string("the ") + produced.name + " of an earlier run cannot be removed (" + *why +
                  "); it is not packed, and this run's " + produced.part + " is lost");
  }
  return stale;
}

// The first quoted name of a directive line, or empty.
std::string DirectiveFileName(std::string_view line) {
  const auto open = line.find('"');
  if (open == std::string_view::npos || line.substr(0, open).find_first_not_of(" \t") != std::string_view::npos) {
    return {};
  }
  const auto close = line.find('"', open + 1);
  return close == std::string_view::npos ? std::string() : std::string(line.substr(open + 1, close - open - 1));
}

// Turns the directive lines of stale files and of lost parts into comments,
// so cabmaker never packs them, and names the manifest as the last entry
// where the directive file does not. Answers the files the directive file
// then packs, in its order; none when it cannot be read or rewritten.
std::optional<std::vector<std::string>> LeaveLostFilesOut(platform::FileSystem& files, const std::string& directives,
                                                          const StaleFiles& stale, const PackageLedger& ledger) {
  const auto text = files.ReadWholeFile(directives);
  if (!text) return std::nullopt;
  std::string out;
  std::vector<std::string> packed;
  bool manifestNamed = false;
  const auto lines = Split(*text, '\n');
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string name = DirectiveFileName(lines[i]);
    if (!name.empty() && (IsStale(stale, name) || ledger.IsLost(name))) {
      out += "; not this run's, left out: ";
    } else if (!name.empty()) {
      packed.push_back(name);
      manifestNamed = manifestNamed || EqualsNoCase(name, kManifestName);
    }
    out += lines[i];
    if (i + 1 < lines.size()) out += '\n';
  }
  if (!manifestNamed) {
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out += std::string("\"") + kManifestName + "\"\r\n";
    packed.emplace_back(kManifestName);
  }
  if (out != *text && !files.WriteWholeFile(directives, out)) return std::nullopt;
  return packed;
}

// dumpel's exit code: anything but 0 is a lost part; whatever it wrote is
// packed all the same.
void JudgeDumpel(const ProgramEnd& dumpel, const char* log, const char* file, WriteToFileRun& run,
                 PackageLedger& ledger) {
  if (dumpel.ExitedWith(0)) return;
  if (dumpel.how == ProgramEnd::How::kEndedAtLimit) {
    run.ErrorLine(dumpel.late);
    ledger.Lost(file, "dumpel did not end within its limit");
  } else if (dumpel.how == ProgramEnd::How::kExited && dumpel.exitCode) {
    run.ErrorLine("dumpel ended with exit code " + std::to_string(*dumpel.exitCode) + " for the " + log +
                  " event log; " + file + " is left out of " + kCabinetName);
    ledger.Lost(file, "dumpel ended with exit code " + std::to_string(*dumpel.exitCode));
  } else {
    run.ErrorLine(std::string("how dumpel ended for the ") + log + " event log is unknown; " + file +
                  " is left out of " + kCabinetName);
    ledger.Lost(file, "how dumpel ended is unknown");
  }
}

// media.bat ends with its own code, and the script it starts always
// writes SwitchReport.html: a batch file that failed or wrote nothing (cmd
// denied, the script refused) is a lost part, named with its command line.
void JudgeSwitchReport(platform::FileSystem& files, const std::string& strPathName, const ProgramEnd& media,
                       const std::string& commandLine, const StaleFiles& stale, WriteToFileRun& run,
                       PackageLedger& ledger) {
  // One left running at its limit is recorded as such; what it wrote so far
  // is packed as it stands.
  if (IsStale(stale, "SwitchReport.html") || media.how == ProgramEnd::How::kLeftRunning) return;
  if (media.how == ProgramEnd::How::kExited && media.exitCode && *media.exitCode != 0) {
    run.ErrorLine("media.bat ended with exit code " + std::to_string(*media.exitCode) + " (" + commandLine +
                  "); the switch report is lost");
    ledger.Lost("SwitchReport.html", "media.bat ended with exit code " + std::to_string(*media.exitCode));
  } else if (files.ReadWholeFile(strPathName + "SwitchReport.html").value_or("").empty()) {
    run.ErrorLine("media.bat wrote no switch report (" + commandLine + "); SwitchReport.html is missing or empty");
    ledger.Lost("SwitchReport.html", "media.bat wrote no switch report");
  }
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
  // The record is packed from the output folder, as the directive files name it.
  WriteToFileRun::Quietly([&] {
    messages.StartPackagingRecord(files, files.FullPathName(strPathName).value_or(strPathName) + kMessagesFileName);
  });
  run.Debug("DEBUG: strPathName=" + strPathName);

  const std::optional<std::string> earlierCabinetStays = RemoveEarlierCabinet(files, strPathName);
  WriteToFileRun::Quietly([&] { files.RemoveFile(strPathName + kCabinetDigestName, true); });
  RemoveQuietly(files, strPathName, {"voxtrasysteminfo.txt", "media.bat", "TelCfgRpt.vbs", kManifestName});
  PackageLedger ledger;
  StaleFiles stale = ClearProducedFiles(files, strPathName, run, ledger);
  WriteToFileRun::Quietly([&] { files.RemoveFile(strPathName + "TelCfgRpt.vbs", true); });
  RemoveFindingsFiles(files, strPathName);
  RemoveQuietly(files, strPathName, {kLeftOutListName});

  const std::string install = p.program.InstallFolder();
  run.Debug("DEBUG: opening VoxtraSystemInfo.txt");
  const std::string reportFile = strPathName + kReportFileName;
  bool reportOpen = false;
  std::string packed;  // what the report file holds, for the findings files
  run.Step([&] {
    if (files.FileExists(reportFile)) Check(files.RemoveFile(reportFile, true));
  });
  run.Step([&] {
    // The window's text is already in the ANSI code page; the file ends
    // with one more line end.
    packed = window.ReportText();
    if (!files.WriteWholeFile(reportFile, packed + "\r\n")) {
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
  const auto findingsFailures = WriteFindingsFiles(p, strPathName, window.Gathered(), packed);
  for (const std::string& failure : findingsFailures) run.ErrorLine(failure);
  // Their absence is a lost part only when they were written and went missing.
  const bool findingsWritten = window.Gathered() != nullptr && findingsFailures.empty();
  PackagingOutcome outcome;
  if (window.Gathered() != nullptr) outcome.findingsText = packed;
  if (PackServerImage(p, strPathName, messages)) {
    stale.emplace_back(kImageCabinetName);
    ledger.Lost(kImageCabinetName, "the earlier run's file cannot be removed");
  }

  const auto quoted = [&](const char* name) { return launch::Quoted(strPathName + name); };
  // Runs one program; a failed start is an error line, and so is a program
  // ended at its limit. The files it writes are entered in the ledger with
  // how it ended.
  const auto runWithin = [&](const std::string& commandLine, const launch::WaitLimit& limit,
                             std::initializer_list<const char*> writes) {
    std::optional<ProgramEnd> end;
    const platform::LocalTime started = p.clock.Now();
    run.Step([&] { end = launch::RunWithin(p.process, commandLine, limit, messages); });
    const long long seconds = SecondsBetween(started, p.clock.Now());
    const std::string madeBy = CommandLineWithoutFolders(commandLine, strPathName, install);
    for (const char* file : writes) {
      ledger.Produced(file, limit.program, madeBy, EndedText(end), seconds);
      if (!end) ledger.Lost(file, std::string(limit.program) + " could not start");
    }
    return end;
  };
  const auto dumpel = [&](const char* log, const char* file) {
    if (IsStale(stale, file)) return;  // it could not write there; the part is lost already
    const std::string options = std::string("-d 5 -format dtTSIs -c -l ") + log + " -f " + quoted(file);
    if (const auto end = runWithin(launch::ProgramCommandLine(install, "dumpel", options),
                                   launch::limits::kEventLogDumper, {file})) {
      JudgeDumpel(*end, log, file, run, ledger);
    }
  };
  dumpel("system", "system_event_log.csv");
  dumpel("application", "application_event_log.csv");
  run.Debug("DEBUG: Finished dumping out system and application event logs.");
  // Tabulex exits with 1 by design; what it wrote is what counts, and the
  // earlier run's list is gone by now.
  if (!IsStale(stale, "ServiceInfo.csv")) {
    const auto tabulex = runWithin(launch::ProgramCommandLine(install, "Tabulex", "-o " + quoted("ServiceInfo.csv")),
                                   launch::limits::kServiceList, {"ServiceInfo.csv"});
    // One left running at its limit is recorded as such; its file is packed
    // as it stands, and the manifest says how Tabulex ended.
    if (tabulex && tabulex->how != ProgramEnd::How::kLeftRunning &&
        files.ReadWholeFile(strPathName + "ServiceInfo.csv").value_or("").empty()) {
      run.ErrorLine("Tabulex wrote no service list (ServiceInfo.csv is missing or empty)");
      ledger.Lost("ServiceInfo.csv", "Tabulex wrote no service list");
    }
  }
  run.Debug("DEBUG: Finished tabulex.");

  run.Step([&] {
    if (files.SetCurrentFolder(strPathName) != 0) Raise(err::kPathNotFound);
  });
  run.Debug("DEBUG: Currentdirectory=" + files.CurrentFolder());
  run.Debug("DEBUG: App.Path=" + install);

  if (probes::bIsVersionGreaterThanOrEqualTo(CurrentVersion, 4, 0, 0, 10)) {
    const auto copyShipped = [&](const char* shipped, const char* target, const char* missingMessage) {
      bool copied = false;
      run.Step([&] {
        if (!files.FileExists(install + "\\" + shipped)) {
          run.Message(missingMessage);
          messages.MarkPartLost();
        } else {
          Check(files.CopyFileTo(install + "\\" + shipped, strPathName + target));
          copied = true;
        }
      });
      return copied;
    };
    copyShipped("voxtrainfo_SwitchInfo.ddf", "voxtrainfo.ddf",
                "Could not find VoxtraInfo_SwitchInfo.DDF in the install directory.  Please uninstall and reinstall "
                "TORB.");
    const bool script =
        copyShipped("TelCfgRpt.vbs", "TelCfgRpt.vbs",
                    "Could not find TelCfgRpt.vbs in the install directory.  Please uninstall and reinstall TORB.");
    const bool batch =
        copyShipped("media.bat", "media.bat",
                    "Could not find media.bat in the install directory.  Please uninstall and reinstall TORB.");
    const std::string mediaLine = launch::BatchCommandLine(strPathName, "media.bat");
    const auto media = runWithin(mediaLine, launch::limits::kSwitchReport, {"SwitchReport.html", "switchlog.txt"});
    if (script && batch && media) JudgeSwitchReport(files, strPathName, *media, mediaLine, stale, run, ledger);
    run.Debug("DEBUG: Finished running media.bat");
  } else {
    run.Step([&] { Check(files.CopyFileTo(install + "\\voxtrainfo.ddf", strPathName + "voxtrainfo.ddf")); });
  }

  // With "redact" every file to pack is redacted first; one that cannot be
  // is never packed in the clear.
  bool packable = RedactPackageIfAsked(p, strPathName, messages);
  const std::string directives = strPathName + "voxtrainfo.ddf";
  // Names what the directive file packs and writes the manifest of it; false
  // when no cabinet may be made.
  const auto writeManifest = [&] {
    // Without its directive file cabmaker says why it packs nothing.
    if (!files.FileExists(directives)) return true;
    for (const auto& [file, program] : ledger.NotWritten(files, strPathName)) {
      run.ErrorLine(program + " wrote no " + file + "; that part of the package is lost");
      ledger.Lost(file, program + " wrote no file");
    }
    const auto entries = LeaveLostFilesOut(files, directives, stale, ledger);
    if (!entries) {
      run.ErrorLine("the lost parts cannot be left out of voxtrainfo.ddf; no cabinet is made");
      return false;
    }
    if (!files.WriteWholeFile(strPathName + kManifestName,
                              ManifestText(ledger.Records(files, strPathName, *entries)))) {
      run.ErrorLine(std::string("cannot write ") + kManifestName + "; no cabinet is made");
      return false;
    }
    return true;
  };
  packable = packable && writeManifest();
  const std::string cabmaker = launch::ProgramCommandLine(
      install, "cabmaker", "/f " + quoted("voxtrainfo.ddf") + " /l " + quoted(kLeftOutListName));
  run.Debug("DEBUG: Calling cabmaker with string=" + cabmaker);
  if (bDebugMode) run.Message("holding");
  if (earlierCabinetStays) {
    run.ErrorLine(*earlierCabinetStays);
  } else if (!packable) {
    // The reason is recorded already; nothing of this run is packed.
  } else if (auto end = runWithin(cabmaker, launch::limits::kCabinetBuilder, {})) {
    std::vector<LeftOutFile> leftOut;
    outcome.cabinetMade = CabinetMade(files, strPathName, *end, findingsWritten, run, leftOut);
    // What cabmaker left out is now in the record, which was packed without
    // those lines, and in no manifest: once more with both, the left-out
    // files named as lost parts (a file left out now is left out the same
    // way again; the passes are few).
    for (int pass = 1; outcome.cabinetMade && !leftOut.empty() && pass <= 2; ++pass) {
      for (const LeftOutFile& file : leftOut) {
        ledger.Lost(file.name, "cabmaker left it out" + (file.reason.empty() ? "" : ": " + file.reason));
      }
      outcome.cabinetMade = false;
      leftOut.clear();
      if (!writeManifest()) break;
      end = runWithin(cabmaker, launch::limits::kCabinetBuilder, {});
      if (end) outcome.cabinetMade = CabinetMade(files, strPathName, *end, findingsWritten, run, leftOut);
      // The first pass's cabinet lacks the record's last lines: not sent.
      if (!outcome.cabinetMade) {
        WriteToFileRun::Quietly([&] { files.RemoveFile(strPathName + kCabinetName, true); });
      }
    }
  } else {
    run.ErrorLine(std::string(kCabinetName) + " was not made; the report and the other files are left in " +
                  strPathName);
  }
  if (outcome.cabinetMade) {
    // Beside the cabinet, in the format sha256sum checks, for the ticket.
    const auto digest = DigestOfFile(files, strPathName + kCabinetName);
    if (!digest ||
        !files.WriteWholeFile(strPathName + kCabinetDigestName, digest->sha256 + "  " + kCabinetName + "\n")) {
      messages.RecordNote(std::string("cannot write ") + kCabinetDigestName + " beside " + kCabinetName);
    }
    CleanUp(files, strPathName);
  }

  if (!session.bSilentMode) {
    WriteToFileRun::Quietly([&] { window.ShowSplash(false); });
    WriteToFileRun::Quietly([&] { p.ui.SetWaitPointer(false); });
    WriteToFileRun::Quietly([&] {
      p.process.ReleaseProcess(p.process.StartProcess("Explorer " + savePath, platform::kWindowNormalFocus).processId);
    });
  }
  return outcome;
}

}  // namespace fernwick::packaging
