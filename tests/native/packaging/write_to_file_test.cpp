#include "packaging/write_to_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "native/packaging/late_programs.h"
#include "native/temp_image.h"
#include "common/sha256.h"
#include "frontend/native/packaging_programs/packaging_programs.h"
#include "packaging/folder_select.h"
#include "packaging/manifest.h"
#include "platform/image/image_services.h"
#include "report/packed_report.h"

namespace fernwick::packaging {
namespace {

namespace fs = std::filesystem;

// One log of what the handler asks of the file system and the processes, in order.
using testing::LatePrograms;
using testing::Log;

class RecordingFiles : public platform::FileSystem {
 public:
  RecordingFiles(platform::FileSystem& inner, Log& log) : inner_(inner), log_(log) {}
  bool FolderExists(const std::string& p) override { return inner_.FolderExists(p); }
  bool FileExists(const std::string& p) override { return inner_.FileExists(p); }
  bool CreateFolder(const std::string& p) override { return inner_.CreateFolder(p); }
  std::vector<std::string> SubFolderNames(const std::string& p) override { return inner_.SubFolderNames(p); }
  std::optional<std::string> FullPathName(const std::string& p) override { return inner_.FullPathName(p); }
  std::optional<std::string> FolderIdentity(const std::string& p) override { return inner_.FolderIdentity(p); }
  std::optional<std::string> ReadWholeFile(const std::string& p) override { return inner_.ReadWholeFile(p); }
  bool WriteWholeFile(const std::string& p, std::string_view bytes) override {
    log_.push_back("write " + p);
    return inner_.WriteWholeFile(p, bytes);
  }
  std::uint32_t RemoveFile(const std::string& p, bool force) override {
    log_.push_back((force ? "del /f " : "del ") + p);
    if (held.count(p) != 0) return 32;  // ERROR_SHARING_VIOLATION
    return inner_.RemoveFile(p, force);
  }
  std::set<std::string> held;  // open in another program without delete sharing
  std::uint32_t CopyFileTo(const std::string& from, const std::string& to) override {
    log_.push_back("copy " + from + " " + to);
    return inner_.CopyFileTo(from, to);
  }
  std::uint32_t RemoveEmptyFolder(const std::string& p) override {
    log_.push_back("rmdir " + p);
    return inner_.RemoveEmptyFolder(p);
  }
  std::uint32_t SetCurrentFolder(const std::string& p) override {
    log_.push_back("cd " + p);
    return inner_.SetCurrentFolder(p);
  }
  std::string CurrentFolder() override { return inner_.CurrentFolder(); }
  std::optional<platform::FolderListing> ListFolder(const std::string& p) override { return inner_.ListFolder(p); }
  std::optional<platform::LocalTime> FileLastModified(const std::string& p) override {
    return inner_.FileLastModified(p);
  }
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string& d) override { return inner_.DriveSpaceOf(d); }

 private:
  platform::FileSystem& inner_;
  Log& log_;
};

class FakeWindow : public PackagingWindow {
 public:
  std::string ReportText() override { return report; }
  void SetReportText(const std::string& text) override { report = text; }
  std::string SavePathText() override { return savePath; }
  void ShowSplash(bool shown) override { splash.push_back(shown); }
  const report::ReportBuffer* Gathered() override { return gathered; }

  const report::ReportBuffer* gathered = nullptr;
  std::string report = "Report line 1\r\nReport line 2";
  std::string savePath = "C:\\Out";
  std::vector<bool> splash;
};

probes::ProductVersion Version(std::int16_t major, std::int16_t minor, std::int16_t release, std::int16_t build) {
  probes::ProductVersion v;
  v.iMajor = major;
  v.iMinor = minor;
  v.iRelease = release;
  v.iBuild = build;
  return v;
}

const std::string kInstall = "drives/C/Program Files/Fernwick/";

// A server whose install folder holds every shipped file, and an output folder C:\Out.
struct Packaging {
  explicit Packaging(const std::string& commandLine = "Fernwick.exe", bool shipAll = true) {
    image.Registry("");
    for (const char* program : {"dumpel.exe", "Tabulex.exe", "cabmaker.exe"}) image.Write(kInstall + program, "");
    if (shipAll) {
      for (const char* file : {"voxtrainfo.ddf", "voxtrainfo_SwitchInfo.ddf", "TelCfgRpt.vbs", "media.bat"}) {
        std::ifstream shipped(std::string(FERNWICK_SOURCE_DIR) + "/shipped/" + file, std::ios::binary);
        std::ostringstream content;
        content << shipped.rdbuf();
        image.Write(kInstall + file, content.str());
      }
    }
    image.Folder("drives/C/Out");
    server = &image.Open(commandLine);
    messages.emplace(server->Platform().ui, session);
  }
  PackagingOutcome Run(const probes::ProductVersion& version, bool silent = false, const std::string& hung = "") {
    auto& p = server->Platform();
    RecordingFiles files(p.files, log);
    files.held = held;
    LatePrograms processes(p.process, log, hung);
    platform::Platform recorded{p.registry, files,      processes,     p.program,  p.ui,  p.clock,
                                p.database, p.versions, p.workstation, p.internet, p.xml, p.codePages};
    session.bSilentMode = silent;
    return cmdWriteToFile_Click(recorded, session, version, window, *messages);
  }
  std::string OutFile(const std::string& name) const {
    std::ifstream in(image.Out() / "drives/C/Out" / name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }

  testing::TempImage image;
  image::ServerImage* server = nullptr;
  FakeWindow window;
  Log log;
  Session session;
  std::optional<MessageBoxes> messages;
  std::set<std::string> held;
};

image::ImageProcessControl& Programs(Packaging& run) {
  return dynamic_cast<image::ImageProcessControl&>(run.server->Platform().process);
}

bool Recorded(const Packaging& run, const std::string& line) {
  const auto& lines = run.messages->Recorded();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(WriteToFile, RunsEveryStepInOrderWithItsQuotingAndDebugLines) {
  Packaging run("Fernwick.exe /DeBuG");
  run.Run(Version(4, 2, 1, 0));
  const std::string out = "C:\\Out\\";
  const std::string inst = "C:\\Program Files\\Fernwick";
  EXPECT_EQ(
      run.log,
      (Log{
          "del /f " + out + "FernwickMessages.txt",  // this Write To File's record starts empty
          "del /f " + out + "VoxtraInfo.cab",
          "del /f " + out + "VoxtraInfo.cab.sha256",
          "del " + out + "voxtrasysteminfo.txt",
          "del " + out + "media.bat",
          "del " + out + "TelCfgRpt.vbs",
          "del " + out + "Manifest.csv",
          "del /f " + out + "system_event_log.csv",  // what the programs write, read-only or not
          "del /f " + out + "application_event_log.csv",
          "del /f " + out + "ServiceInfo.csv",
          "del /f " + out + "SwitchReport.html",
          "del /f " + out + "switchlog.txt",
          "del /f " + out + "TelCfgRpt.vbs",
          "del " + out + "Findings.csv",
          "del " + out + "Summary.htm",
          "del " + out + "cabmaker_leftout.txt",
          "write " + out + "VoxtraSystemInfo.txt",
          "del /f " + out + "ServerImage.cab",
          "start 0 \"" + inst + "\\dumpel\" -d 5 -format dtTSIs -c -l system -f \"" + out + "system_event_log.csv\"",
          "wait 900000",
          "start 0 \"" + inst + "\\dumpel\" -d 5 -format dtTSIs -c -l application -f \"" + out +
              "application_event_log.csv\"",
          "wait 900000",
          "start 0 \"" + inst + "\\Tabulex\" -o \"" + out + "ServiceInfo.csv\"",
          "wait 30000",
          "cd " + out,
          "copy " + inst + "\\voxtrainfo_SwitchInfo.ddf " + out + "voxtrainfo.ddf",
          "copy " + inst + "\\TelCfgRpt.vbs " + out + "TelCfgRpt.vbs",
          "copy " + inst + "\\media.bat " + out + "media.bat",
          "start 0 \"" + out + "media.bat\"",
          "wait 30000",
          "write " + out + "Manifest.csv",
          "start 0 \"" + inst + "\\cabmaker\" /f \"" + out + "voxtrainfo.ddf\" /l \"" + out + "cabmaker_leftout.txt\"",
          "wait 900000",
          "write " + out + "VoxtraInfo.cab.sha256",
          "del " + out + "voxtrasysteminfo.txt",
          "del " + out + "system_event_log.csv",
          "del " + out + "application_event_log.csv",
          "del " + out + "setup.rpt",
          "del " + out + "setup.inf",
          "del " + out + "voxtrainfo.ddf",
          "del " + out + "ServiceInfo.csv",
          "rmdir " + out + "disk1",
          "del " + out + "SwitchReport.html",
          "del " + out + "media.bat",
          "del " + out + "TelCfgRpt.vbs",
          "del " + out + "switchlog.txt",
          "del /f " + out + "TelCfgRpt.vbs",
          "del " + out + "Findings.csv",
          "del " + out + "Summary.htm",
          "del /f " + out + "ServerImage.cab",
          "del " + out + "cabmaker_leftout.txt",
          "del " + out + "Manifest.csv",
          "start 1 Explorer C:\\Out",
      }));
  // The first two debug lines reach the file, the others only the window.
  const std::string fileText =
      "Report line 1\r\nReport line 2\r\nDEBUG: strPathName=C:\\Out\\\r\nDEBUG: opening VoxtraSystemInfo.txt\r\n";
  EXPECT_EQ(run.window.report,
            fileText.substr(0, fileText.size() - 2) +
                "\r\nDEBUG: Finished writing VoxtraSystemInfo.txt"
                "\r\nDEBUG: Finished dumping out system and application event logs."
                "\r\nDEBUG: Finished tabulex."
                "\r\nDEBUG: Currentdirectory=C:\\Out"
                "\r\nDEBUG: App.Path=C:\\Program Files\\Fernwick"
                "\r\nDEBUG: Finished running media.bat"
                "\r\nDEBUG: Calling cabmaker with string=\"C:\\Program Files\\Fernwick\\cabmaker\" /f "
                "\"C:\\Out\\voxtrainfo.ddf\" /l \"C:\\Out\\cabmaker_leftout.txt\"");
  EXPECT_EQ(run.server->ShownMessages(), (std::vector<std::string>{"holding"}));
  EXPECT_EQ(run.window.splash, (std::vector<bool>{true, false}));
  EXPECT_EQ(run.server->Files().CurrentFolder(), "C:\\Out");
  EXPECT_FALSE(fs::exists(run.image.Out() / "drives/C/Out/VoxtraSystemInfo.txt")) << "not cleaned up";
  EXPECT_TRUE(run.server->Files().FileExists("C:\\Out\\VoxtraInfo.cab"));
}

TEST(WriteToFile, TheReportFileIsTheWindowTextWithOneMoreLineEnd) {
  Packaging run;
  run.window.report = "caf\xe9\r\nline";
  run.image.Write("drives/C/Out/VoxtraSystemInfo.txt", "an older, longer report");
  // The clean-up removes the file: a cabmaker stand-in reads it when it is packed.
  std::string packed;
  dynamic_cast<image::ImageProcessControl&>(run.server->Platform().process)
      .AddProgram("cabmaker", [&](const std::string&) {
        packed = run.server->Files().ReadWholeFile("C:\\Out\\VoxtraSystemInfo.txt").value_or("(none)");
        run.server->Files().WriteWholeFile("C:\\Out\\VoxtraInfo.cab", "");
      });
  run.Run(Version(4, 2, 1, 0));
  EXPECT_EQ(packed, "caf\xe9\r\nline\r\n");
  EXPECT_EQ(run.window.report, "caf\xe9\r\nline") << "no debug line without /debug";
}

// Under /debug the packed report has DEBUG lines the gathering never wrote:
// the findings files are made from the packed text, so the summary shows
// them and each finding's line number is its line in VoxtraSystemInfo.txt.
TEST(WriteToFile, TheFindingsFilesAreMadeFromThePackedReport) {
  Packaging run("Fernwick.exe /debug");
  report::ReportBuffer gathered;
  gathered.Clear();
  gathered.AppendReportLine("TORB Version = 2.0.4");
  gathered.AppendFindingLine(report::FindingId::PortsLowFragHeapOff,
                             "     Ports configured =  80 *** Warning > 72 ports but Registry (Low Fragment Heap) "
                             "not enabled ***");
  run.window.gathered = &gathered;
  run.window.report = "DEBUG: an earlier line\r\n" + gathered.Text().substr(0, gathered.Text().size() - 2);
  std::string packed, csv, summary;
  dynamic_cast<image::ImageProcessControl&>(run.server->Platform().process)
      .AddProgram("cabmaker", [&](const std::string&) {
        auto& files = run.server->Files();
        packed = files.ReadWholeFile("C:\\Out\\VoxtraSystemInfo.txt").value_or("(none)");
        csv = files.ReadWholeFile("C:\\Out\\Findings.csv").value_or("(none)");
        summary = files.ReadWholeFile("C:\\Out\\Summary.htm").value_or("(none)");
        files.WriteWholeFile("C:\\Out\\VoxtraInfo.cab", "");
      });
  run.Run(Version(4, 2, 1, 0));
  const auto lines = report::SplitLines(packed);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "DEBUG: an earlier line");
  EXPECT_EQ(lines[2].substr(0, 25), "     Ports configured =  ");
  EXPECT_NE(csv.find(",3,not read,not read,1252,\r\n"), std::string::npos)
      << "the finding's line in the packed file: " << csv;
  EXPECT_NE(summary.find("DEBUG: opening VoxtraSystemInfo.txt"), std::string::npos);
  EXPECT_NE(summary.find("<a id=\"L3\""), std::string::npos) << "the marked line is the packed one";
}

struct VersionCase {
  probes::ProductVersion version;
  std::string directiveSource;
  bool switchReport;
};

TEST(WriteToFile, TheDirectiveFileAndSwitchReportFollowVersion4_0_0_10) {
  for (const VersionCase& c : {VersionCase{Version(4, 0, 0, 9), "voxtrainfo.ddf", false},
                               VersionCase{Version(4, 0, 0, 10), "voxtrainfo_SwitchInfo.ddf", true},
                               VersionCase{Version(3, 9, 9, 99), "voxtrainfo.ddf", false},
                               VersionCase{Version(5, 0, 0, 0), "voxtrainfo_SwitchInfo.ddf", true}}) {
    Packaging run;
    run.Run(c.version);
    const auto copied = std::find_if(run.log.begin(), run.log.end(), [](auto& l) { return l.rfind("copy", 0) == 0; });
    ASSERT_NE(copied, run.log.end());
    EXPECT_EQ(*copied, "copy C:\\Program Files\\Fernwick\\" + c.directiveSource + " C:\\Out\\voxtrainfo.ddf");
    const bool ranMedia = std::count(run.log.begin(), run.log.end(), "start 0 \"C:\\Out\\media.bat\"") == 1;
    EXPECT_EQ(ranMedia, c.switchReport) << c.directiveSource;
  }
}

TEST(WriteToFile, MissingShippedFilesAreNamedAndThePackagingGoesOn) {
  Packaging newer("Fernwick.exe", false);
  EXPECT_FALSE(newer.Run(Version(4, 2, 1, 0), true).cabinetMade);  // silent: the messages are recorded, not shown
  EXPECT_TRUE(newer.server->ShownMessages().empty());
  EXPECT_EQ(newer.messages->Recorded(),
            (std::vector<std::string>{
                "Could not find VoxtraInfo_SwitchInfo.DDF in the install directory.  Please uninstall and reinstall "
                "TORB.",
                "Could not find TelCfgRpt.vbs in the install directory.  Please uninstall and reinstall TORB.",
                "Could not find media.bat in the install directory.  Please uninstall and reinstall TORB.",
                "(error) in cmdWriteToFile routine:File not found",
                "(error) in cmdWriteToFile routine:cabmaker wrote no cabinet: cannot read the directive file "
                "\"C:\\Out\\voxtrainfo.ddf\"",
                "(error) in cmdWriteToFile routine:VoxtraInfo.cab was not made; the report and the other files are "
                "left in C:\\Out\\"}));
  // media.bat is started all the same; without its copy the start fails, and the packaging goes on.
  EXPECT_EQ(std::count(newer.log.begin(), newer.log.end(), "start 0 \"C:\\Out\\media.bat\""), 1);
  // cabmaker's reason, from its list, comes before the line that no cabinet was made.
  const std::string noCabinet =
      "\r\n(error) in cmdWriteToFile routine:cabmaker wrote no cabinet: cannot read the directive file "
      "\"C:\\Out\\voxtrainfo.ddf\"\r\n"
      "\r\n(error) in cmdWriteToFile routine:VoxtraInfo.cab was not made; the report and the other files are left in "
      "C:\\Out\\\r\n";
  EXPECT_EQ(newer.window.report,
            "Report line 1\r\nReport line 2\r\n(error) in cmdWriteToFile routine:File not found\r\n" + noCabinet);
  EXPECT_TRUE(newer.window.splash.empty());
  EXPECT_EQ(std::count_if(newer.log.begin(), newer.log.end(), [](auto& l) { return l.rfind("start 1", 0) == 0; }), 0)
      << "no Explorer in silent mode";

  Packaging older("Fernwick.exe", false);
  older.Run(Version(4, 0, 0, 9));
  EXPECT_TRUE(older.server->ShownMessages().empty());
  EXPECT_EQ(older.window.report,
            "Report line 1\r\nReport line 2\r\n(error) in cmdWriteToFile routine:File not found\r\n" + noCabinet);
}

TEST(WriteToFile, AMissingOutputFolderGivesErrorLinesAndNoPackage) {
  Packaging run;
  run.window.savePath = "C:\\Nowhere\\";
  run.Run(Version(4, 0, 0, 9));
  std::string expected = "Report line 1\r\nReport line 2";
  for (const char* error :
       {"Path not found", "Bad file name or number", "Bad file name or number",
        "dumpel ended with exit code 1 for the system event log; system_event_log.csv is left out of VoxtraInfo.cab",
        "dumpel ended with exit code 1 for the application event log; application_event_log.csv is left out of "
        "VoxtraInfo.cab",
        "Tabulex wrote no service list (ServiceInfo.csv is missing or empty)", "Path not found", "Path not found",
        "VoxtraInfo.cab was not made; the report and the other files are left in C:\\Nowhere\\"}) {
    expected += std::string("\r\n(error) in cmdWriteToFile routine:") + error + "\r\n";
  }
  EXPECT_EQ(run.window.report, expected);
  EXPECT_EQ(run.log.back(), "start 1 Explorer C:\\Nowhere\\");
}

TEST(WriteToFile, ASecondRunPacksTheFirstRunsLines) {
  Packaging run("Fernwick.exe /debug");
  std::vector<std::string> packed;
  dynamic_cast<image::ImageProcessControl&>(run.server->Platform().process)
      .AddProgram("cabmaker", [&](const std::string&) {
        packed.push_back(run.server->Files().ReadWholeFile("C:\\Out\\VoxtraSystemInfo.txt").value_or(""));
      });
  run.Run(Version(4, 2, 1, 0));
  const std::string afterFirst = run.window.report;
  run.Run(Version(4, 2, 1, 0));
  ASSERT_EQ(packed.size(), 2u);
  EXPECT_EQ(packed[1].rfind(afterFirst + "\r\nDEBUG: strPathName=C:\\Out\\", 0), 0u);
}

TEST(WriteToFile, AReadOnlySwitchScriptLeftBehindIsRemoved) {
  Packaging run;
  run.image.Write("drives/C/Out/TelCfgRpt.vbs", "old");
  run.image.Write("drives/C/Out/disk1/.keep", "");  // an empty folder left behind
  fs::permissions(run.image.ImageFolder() / "drives/C/Out/TelCfgRpt.vbs", fs::perms::owner_read);
  run.Run(Version(4, 0, 0, 9));
  EXPECT_FALSE(run.server->Files().FileExists("C:\\Out\\TelCfgRpt.vbs"));
  EXPECT_FALSE(run.server->Files().FolderExists("C:\\Out\\disk1"));
  EXPECT_TRUE(run.server->Files().SubFolderNames("C:\\Out").empty());
}

struct LateProgram {
  std::string hung;  // a piece of its command line
  bool ended;
  std::string line;  // in the record
};

TEST(WriteToFile, AProgramThatOutlivesItsLimitIsEndedOrLeftAsItsLimitSaysAndThePackagingGoesOn) {
  const std::string endedLine = "(error) in cmdWriteToFile routine:";
  for (const LateProgram& c : {
           LateProgram{"-l system", true,
                       endedLine + "dumpel did not end within 15 minutes and was ended with the programs it started"},
           LateProgram{"cabmaker", true,
                       endedLine + "cabmaker did not end within 15 minutes and was ended with the programs it started"},
           LateProgram{"Tabulex", false,
                       "Tabulex did not end within 30 seconds; Write To File went on while it still ran"},
           LateProgram{"media.bat", false,
                       "media.bat did not end within 30 seconds; Write To File went on while it still ran"},
       }) {
    Packaging run;
    const PackagingOutcome outcome = run.Run(Version(4, 2, 1, 0), true, c.hung);
    EXPECT_EQ(std::count(run.log.begin(), run.log.end(), "end tree"), c.ended ? 1 : 0) << c.hung;
    ASSERT_FALSE(run.messages->Recorded().empty()) << c.hung;
    EXPECT_EQ(run.messages->Recorded().front(), c.line);
    EXPECT_TRUE(run.messages->PartLost());
    if (c.hung == "cabmaker") continue;  // below
    EXPECT_TRUE(outcome.cabinetMade) << c.hung;
    EXPECT_EQ(run.log.back(), "del C:\\Out\\Manifest.csv") << "the clean-up ran";
  }
}

TEST(WriteToFile, ACabinetEndedAtItsLimitIsNoCabinetItsTemporaryFilesGoAndTheOriginalsStay) {
  Packaging run;
  // cabmaker writes under temporary names until it has finished.
  Programs(run).AddProgram("cabmaker", [&](const std::string&) {
    run.server->Files().WriteWholeFile("C:\\Out\\VoxtraInfo.cab.part", "cut off");
    run.server->Files().WriteWholeFile("C:\\Out\\VoxtraInfo.cab.part1", "scratch");
  });
  run.image.Write("drives/C/Out/VoxtraInfo.cab.parts.txt", "not ours");  // a name that only looks alike stays too
  const PackagingOutcome outcome = run.Run(Version(4, 2, 1, 0), true, "cabmaker");
  EXPECT_FALSE(outcome.cabinetMade);
  EXPECT_TRUE(Recorded(run,
                       "(error) in cmdWriteToFile routine:cabmaker did not end within 15 minutes and was ended "
                       "with the programs it started"));
  EXPECT_TRUE(Recorded(run,
                       "(error) in cmdWriteToFile routine:VoxtraInfo.cab was not made; the report and the other "
                       "files are left in C:\\Out\\"));
  auto& files = run.server->Files();
  EXPECT_FALSE(files.FileExists("C:\\Out\\VoxtraInfo.cab.part"));
  EXPECT_FALSE(files.FileExists("C:\\Out\\VoxtraInfo.cab.part1"));
  EXPECT_FALSE(files.FileExists("C:\\Out\\VoxtraInfo.cab"));
  for (const char* name : {"VoxtraSystemInfo.txt", "ServiceInfo.csv", "system_event_log.csv", "SwitchReport.html"}) {
    EXPECT_TRUE(files.FileExists(std::string("C:\\Out\\") + name)) << name;
  }
}

TEST(WriteToFile, AReadOnlyCabinetOfAnEarlierRunIsReplacedByThisRunsOwn) {
  Packaging run;
  run.image.Write("drives/C/Out/VoxtraInfo.cab", "last week's cabinet");
  fs::permissions(run.image.ImageFolder() / "drives/C/Out/VoxtraInfo.cab", fs::perms::owner_read);
  EXPECT_TRUE(run.Run(Version(4, 2, 1, 0), true).cabinetMade);
  EXPECT_EQ(run.log.front(), "del /f C:\\Out\\FernwickMessages.txt");
  EXPECT_EQ(run.log[1], "del /f C:\\Out\\VoxtraInfo.cab");
  const std::string cabinet = run.server->Files().ReadWholeFile("C:\\Out\\VoxtraInfo.cab").value_or("");
  EXPECT_EQ(cabinet.rfind("MSCF", 0), 0u) << cabinet;
  EXPECT_FALSE(run.messages->PartLost());
}

TEST(WriteToFile, AnEarlierCabinetThatCannotBeRemovedIsNoCabinetOfThisRun) {
  Packaging run;
  run.image.Write("drives/C/Out/VoxtraInfo.cab", "last week's cabinet");
  run.held.insert("C:\\Out\\VoxtraInfo.cab");
  EXPECT_FALSE(run.Run(Version(4, 2, 1, 0), true).cabinetMade);
  EXPECT_TRUE(Recorded(run,
                       "(error) in cmdWriteToFile routine:the VoxtraInfo.cab of an earlier run cannot be removed "
                       "(Permission denied); no cabinet is made, and the report and the other files are left in "
                       "C:\\Out\\"));
  EXPECT_EQ(std::count_if(run.log.begin(), run.log.end(),
                          [](auto& l) { return l.find("cabmaker") != std::string::npos && l.rfind("start", 0) == 0; }),
            0)
      << "cabmaker would only fail on it";
  EXPECT_EQ(run.server->Files().ReadWholeFile("C:\\Out\\VoxtraInfo.cab"), "last week's cabinet");
  EXPECT_TRUE(run.server->Files().FileExists("C:\\Out\\VoxtraSystemInfo.txt"));
}

struct DumpelCode {
  std::uint32_t code;
  bool lost;
};

TEST(WriteToFile, DumpelEndingWithAnythingButZeroIsALostPartAndWhatItWroteIsPacked) {
  for (const DumpelCode& c : {DumpelCode{0, false}, DumpelCode{1, true}, DumpelCode{3, true}}) {
    Packaging run;
    Programs(run).AddProgram("dumpel", [&](const std::string& commandLine) {
      if (commandLine.find("-l application") == std::string::npos) {
        run.server->Files().WriteWholeFile("C:\\Out\\system_event_log.csv", "newer records\r\n");
        return c.code;
      }
      run.server->Files().WriteWholeFile("C:\\Out\\application_event_log.csv", "");
      return std::uint32_t{0};
    });
    std::string packedLog;
    Programs(run).AddProgram("cabmaker", [&](const std::string&) {
      packedLog = run.server->Files().ReadWholeFile("C:\\Out\\system_event_log.csv").value_or("(none)");
      run.server->Files().WriteWholeFile("C:\\Out\\VoxtraInfo.cab", "cabinet");
    });
    EXPECT_TRUE(run.Run(Version(4, 0, 0, 9), true).cabinetMade);
    EXPECT_EQ(packedLog, "newer records\r\n");
    EXPECT_EQ(run.messages->PartLost(), c.lost) << c.code;
    const std::string line = "(error) in cmdWriteToFile routine:dumpel ended with exit code " + std::to_string(c.code) +
                             " for the system event log; system_event_log.csv is left out of VoxtraInfo.cab";
    EXPECT_EQ(Recorded(run, line), c.lost) << c.code;
  }
}

TEST(WriteToFile, CabmakerLeavingAnOptionalFileOutIsALostPartNamedInTheRecord) {
  Packaging run;
  // media.bat writes no switch report: both its files are lost parts, left
  // out of the directive file before cabmaker runs, and named in the manifest.
  Programs(run).AddProgram(
      "media", [](const std::string&) {}, true);
  std::string manifest;
  Programs(run).AddProgram("cabmaker", [&](const std::string& commandLine) {
    manifest = run.server->Files().ReadWholeFile("C:\\Out\\Manifest.csv").value_or("");
    native::RunImageCabmaker(run.server->Files(), commandLine);
  });
  const PackagingOutcome outcome = run.Run(Version(4, 2, 1, 0), true);
  EXPECT_TRUE(outcome.cabinetMade);
  EXPECT_TRUE(run.messages->PartLost());
  EXPECT_EQ(
      run.messages->Recorded(),
      (std::vector<std::string>{
          "(error) in cmdWriteToFile routine:media.bat wrote no switch report (\"C:\\Out\\media.bat\"); "
          "SwitchReport.html is missing or empty",
          "(error) in cmdWriteToFile routine:media.bat wrote no switchlog.txt; that part of the package is lost"}))
      << "a record and an image that are not there by design cost nothing";
  EXPECT_NE(manifest.find("\r\nSwitchReport.html,,,\"\"\"<output>\\media.bat\"\"\",exit code 0,0,"
                          "lost: media.bat wrote no switch report\r\n"),
            std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find(",lost: media.bat wrote no file\r\n"), std::string::npos) << manifest;
  EXPECT_FALSE(run.server->Files().FileExists("C:\\Out\\cabmaker_leftout.txt")) << "cleaned up";
}

// A file cabmaker leaves out (unreadable when it packs) is recorded, and the
// cabinet is made once more: the record it packs then names the file, and
// the manifest lists it as lost.
TEST(WriteToFile, WhatCabmakerLeftOutIsInThePackedRecordAndManifest) {
  Packaging run;
  int passes = 0;
  std::string directives, record, manifest;
  Programs(run).AddProgram("cabmaker", [&](const std::string&) {
    auto& files = run.server->Files();
    ++passes;
    files.WriteWholeFile("C:\\Out\\VoxtraInfo.cab", "cabinet " + std::to_string(passes));
    directives = files.ReadWholeFile("C:\\Out\\voxtrainfo.ddf").value_or("");
    record = files.ReadWholeFile("C:\\Out\\FernwickMessages.txt").value_or("");
    manifest = files.ReadWholeFile("C:\\Out\\Manifest.csv").value_or("");
    files.WriteWholeFile("C:\\Out\\cabmaker_leftout.txt", passes == 1 ? "ServiceInfo.csv\tsharing violation\r\n" : "");
    return passes == 1 ? 3u : 0u;
  });
  EXPECT_TRUE(run.Run(Version(4, 0, 0, 9), true).cabinetMade);
  EXPECT_EQ(passes, 2);
  EXPECT_NE(directives.find("; not this run's, left out: \"ServiceInfo.csv\""), std::string::npos) << directives;
  EXPECT_NE(record.find("cabmaker left ServiceInfo.csv out of VoxtraInfo.cab: sharing violation"), std::string::npos)
      << record;
  EXPECT_NE(manifest.find("\r\nServiceInfo.csv,,,"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find(",lost: cabmaker left it out: sharing violation\r\n"), std::string::npos) << manifest;
  const auto parsed = ParseManifest(manifest);
  EXPECT_EQ(parsed.error, "");
  // The record's digest is of the text the second pass packed.
  bool recordListed = false;
  for (const auto& r : parsed.records) {
    if (r.name == "FernwickMessages.txt") recordListed = r.sha256 == Sha256Hex(record);
  }
  EXPECT_TRUE(recordListed) << manifest;
  EXPECT_EQ(run.OutFile("VoxtraInfo.cab.sha256"), Sha256Hex("cabinet 2") + "  VoxtraInfo.cab\n");
}

struct CabmakerCode {
  std::uint32_t code;
  bool made;
};

TEST(WriteToFile, ACabinetCountsOnlyWhenCabmakerEndsWithZeroOrThree) {
  for (const CabmakerCode& c : {CabmakerCode{0, true}, CabmakerCode{3, true}, CabmakerCode{1, false},
                                CabmakerCode{2, false}, CabmakerCode{5, false}}) {
    Packaging run;
    Programs(run).AddProgram("cabmaker", [&](const std::string& commandLine) {
      // Whatever it leaves under the name, only its code says it is whole.
      run.server->Files().WriteWholeFile("C:\\Out\\VoxtraInfo.cab", "cabinet");
      EXPECT_NE(commandLine.find(" /l \"C:\\Out\\cabmaker_leftout.txt\""), std::string::npos);
      run.server->Files().WriteWholeFile("C:\\Out\\cabmaker_leftout.txt", c.code == 3
                                                                              ? "ServiceInfo.csv\tsharing violation\r\n"
                                                                          : c.code == 1 ? "\tdisk full\r\n"
                                                                                        : "");
      return c.code;
    });
    EXPECT_EQ(run.Run(Version(4, 0, 0, 9), true).cabinetMade, c.made) << c.code;
    EXPECT_TRUE(run.messages->PartLost() || c.code == 0) << c.code;
    EXPECT_EQ(run.server->Files().FileExists("C:\\Out\\VoxtraSystemInfo.txt"), !c.made) << c.code;
    if (c.code == 3) {
      EXPECT_TRUE(Recorded(run,
                           "(error) in cmdWriteToFile routine:cabmaker left ServiceInfo.csv out of "
                           "VoxtraInfo.cab: sharing violation"));
    }
    if (c.code == 1) {
      EXPECT_TRUE(Recorded(run, "(error) in cmdWriteToFile routine:cabmaker wrote no cabinet: disk full"));
    }
  }
}

TEST(WriteToFile, EachWriteToFilePacksTheRecordFromTheOutputFolderWithThisRunsLinesOnly) {
  Packaging run;
  // The window's record lives in the work folder; a line the gathering recorded.
  run.messages->KeepIn(run.server->Files(), "C:\\Program Files\\Voxtra\\SystemInfo\\FernwickMessages.txt");
  run.messages->RecordLostPart("si.bat did not end within 180 seconds");
  run.image.Write("drives/C/Out/FernwickMessages.txt", "an old record in the browsed folder\r\n");
  std::vector<std::string> packed;
  Programs(run).AddProgram("cabmaker", [&](const std::string&) {
    packed.push_back(run.server->Files().ReadWholeFile("C:\\Out\\FernwickMessages.txt").value_or("(none)"));
    run.server->Files().WriteWholeFile("C:\\Out\\VoxtraInfo.cab", "cabinet");
  });
  // The first Write To File loses a part (no directive file), the second does not.
  fs::rename(run.image.ImageFolder() / (kInstall + "voxtrainfo_SwitchInfo.ddf"),
             run.image.ImageFolder() / (kInstall + "away.ddf"));
  run.Run(Version(4, 2, 1, 0), true);
  fs::rename(run.image.ImageFolder() / (kInstall + "away.ddf"),
             run.image.ImageFolder() / (kInstall + "voxtrainfo_SwitchInfo.ddf"));
  run.Run(Version(4, 2, 1, 0), true);
  ASSERT_EQ(packed.size(), 2u);
  EXPECT_EQ(packed[0],
            "si.bat did not end within 180 seconds\r\nCould not find VoxtraInfo_SwitchInfo.DDF in the install "
            "directory.  Please uninstall and reinstall TORB.\r\n");
  EXPECT_EQ(packed[1], "si.bat did not end within 180 seconds\r\n") << "no line of the first Write To File";
}

TEST(WriteToFile, WithoutACabinetTheReportAndTheOtherFilesStay) {
  Packaging run;
  dynamic_cast<image::ImageProcessControl&>(run.server->Platform().process)
      .AddProgram("cabmaker", [](const std::string&) {});
  EXPECT_FALSE(run.Run(Version(4, 2, 1, 0), true).cabinetMade);
  const std::string line =
      "(error) in cmdWriteToFile routine:VoxtraInfo.cab was not made; the report and the other files are left in "
      "C:\\Out\\";
  EXPECT_EQ(run.messages->Recorded(), std::vector<std::string>{line});
  EXPECT_EQ(run.window.report, "Report line 1\r\nReport line 2\r\n" + line + "\r\n");
  for (const char* name : {"VoxtraSystemInfo.txt", "ServiceInfo.csv", "SwitchReport.html", "voxtrainfo.ddf"}) {
    EXPECT_TRUE(run.server->Files().FileExists(std::string("C:\\Out\\") + name)) << name;
  }
}

// An earlier run's file that another program holds open (a spreadsheet
// showing last week's service list) cannot be removed: it is a lost part,
// its program is not started, and cabmaker is told to leave it out.
struct HeldPart {
  std::string file;
  std::string part;
  std::string notStarted;  // the program that would write it
};

TEST(WriteToFile, AnEarlierRunsFileThatCannotBeRemovedIsALostPartAndNeverPacked) {
  for (const HeldPart& c : {HeldPart{"ServiceInfo.csv", "service list", "Tabulex"},
                            HeldPart{"system_event_log.csv", "system event log", "-l system"},
                            HeldPart{"SwitchReport.html", "switch report", ""}, HeldPart{"ServerImage.cab", "", ""}}) {
    Packaging run;
    run.image.Write("drives/C/Out/" + c.file, "last week's");
    run.held.insert("C:\\Out\\" + c.file);
    std::string directives;
    Programs(run).AddProgram("cabmaker", [&](const std::string&) {
      directives = run.server->Files().ReadWholeFile("C:\\Out\\voxtrainfo.ddf").value_or("(none)");
      run.server->Files().WriteWholeFile("C:\\Out\\VoxtraInfo.cab", "cabinet");
    });
    EXPECT_TRUE(run.Run(Version(4, 2, 1, 0), true).cabinetMade) << c.file;
    EXPECT_TRUE(run.messages->PartLost()) << c.file;
    const std::string line =
        c.part.empty() ? "The server image is not in VoxtraInfo.cab: the ServerImage.cab of an earlier run cannot be "
                         "removed (Permission denied)"
                       : "(error) in cmdWriteToFile routine:the " + c.file +
                             " of an earlier run cannot be removed (Permission denied); it is not packed, and this "
                             "run's " +
                             c.part + " is lost";
    EXPECT_TRUE(Recorded(run, line)) << c.file;
    EXPECT_NE(directives.find("\n; not this run's, left out: \"" + c.file + "\" /optional=yes"), std::string::npos)
        << directives;
    EXPECT_NE(directives.find("\n\"VoxtraSystemInfo.txt\""), std::string::npos) << "the rest stays";
    if (!c.notStarted.empty()) {
      EXPECT_EQ(std::count_if(run.log.begin(), run.log.end(),
                              [&](auto& l) { return l.rfind("start", 0) == 0 && l.find(c.notStarted) != l.npos; }),
                0)
          << c.file;
    }
  }
}

// A read-only file left by an earlier run is removed like any other: the
// package holds this run's.
TEST(WriteToFile, AReadOnlyServiceListOfAnEarlierRunIsReplacedByThisRunsOwn) {
  Packaging run;
  run.image.Write("drives/C/Out/ServiceInfo.csv", "last week's");
  fs::permissions(run.image.ImageFolder() / "drives/C/Out/ServiceInfo.csv", fs::perms::owner_write,
                  fs::perm_options::remove);
  Programs(run).AddProgram("Tabulex", [&](const std::string&) {
    run.server->Files().WriteWholeFile("C:\\Out\\ServiceInfo.csv", "this run's\r\n");
    return std::uint32_t{1};
  });
  std::string packed;
  Programs(run).AddProgram("cabmaker", [&](const std::string&) {
    packed = run.server->Files().ReadWholeFile("C:\\Out\\ServiceInfo.csv").value_or("(none)");
    run.server->Files().WriteWholeFile("C:\\Out\\VoxtraInfo.cab", "cabinet");
  });
  EXPECT_TRUE(run.Run(Version(4, 0, 0, 9), true).cabinetMade);
  EXPECT_EQ(packed, "this run's\r\n");
  EXPECT_FALSE(run.messages->PartLost()) << ::testing::PrintToString(run.messages->Recorded());
}

// Tabulex cannot create its file (the earlier one is held) and exits 1 as
// always: without the earlier file the judgement by the file is sound.
TEST(WriteToFile, ATabulexThatWritesNothingIsALostPartEvenWhereAnEarlierListWas) {
  Packaging run;
  run.image.Write("drives/C/Out/ServiceInfo.csv", "last week's");
  Programs(run).AddProgram("Tabulex", [](const std::string&) { return std::uint32_t{1}; });
  run.Run(Version(4, 0, 0, 9), true);
  EXPECT_TRUE(Recorded(run,
                       "(error) in cmdWriteToFile routine:Tabulex wrote no service list (ServiceInfo.csv is missing "
                       "or empty)"));
}

struct MediaCase {
  std::uint32_t code;
  bool writes;
  std::string line;  // empty: nothing lost
};

TEST(WriteToFile, MediaBatIsJudgedByItsExitCodeAndTheSwitchReportItWrote) {
  const std::string batch = "(\"C:\\Out\\media.bat\")";
  for (const MediaCase& c :
       {MediaCase{0, true, ""},
        MediaCase{1, true, "media.bat ended with exit code 1 " + batch + "; the switch report is lost"},
        MediaCase{0, false, "media.bat wrote no switch report " + batch + "; SwitchReport.html is missing or empty"}}) {
    Packaging run;
    Programs(run).AddProgram(
        "media",
        [&](const std::string&) {
          if (c.writes) run.server->Files().WriteWholeFile("C:\\Out\\SwitchReport.html", "<html></html>");
          if (c.writes) run.server->Files().WriteWholeFile("C:\\Out\\switchlog.txt", "log\r\n");
          return c.code;
        },
        true);
    run.Run(Version(4, 2, 1, 0), true);
    if (c.line.empty()) {
      EXPECT_FALSE(run.messages->PartLost()) << ::testing::PrintToString(run.messages->Recorded());
    } else {
      EXPECT_TRUE(Recorded(run, "(error) in cmdWriteToFile routine:" + c.line))
          << ::testing::PrintToString(run.messages->Recorded());
    }
  }
}

// Exit code 3 says files were left out; without its list nobody would know which.
TEST(WriteToFile, CabmakerEndingWithThreeWithoutItsListIsALostPart) {
  Packaging run;
  Programs(run).AddProgram("cabmaker", [&](const std::string&) {
    run.server->Files().WriteWholeFile("C:\\Out\\VoxtraInfo.cab", "cabinet");
    return std::uint32_t{3};
  });
  EXPECT_TRUE(run.Run(Version(4, 0, 0, 9), true).cabinetMade);
  EXPECT_TRUE(Recorded(run,
                       "(error) in cmdWriteToFile routine:cabmaker left files out of VoxtraInfo.cab, but its list of "
                       "them (cabmaker_leftout.txt) cannot be read"));
}

TEST(WriteToFile, TheInstallFolderTypedAsOutputIsRefusedAndNothingIsDeleted) {
  Packaging run;
  run.window.savePath = "c:\\program files\\FERNWICK";
  EXPECT_FALSE(run.Run(Version(4, 2, 1, 0)).cabinetMade);
  EXPECT_EQ(run.server->ShownMessages(), std::vector<std::string>{kInstallFolderRefused});
  EXPECT_TRUE(run.log.empty()) << run.log.front();
  EXPECT_TRUE(run.window.splash.empty());
  EXPECT_TRUE(run.server->Files().FileExists("C:\\Program Files\\Fernwick\\media.bat"));
}

// The same folder by another name (here a link, as a junction, a substituted
// drive or \\localhost\C$ would be on Windows) is the install folder all the
// same: nothing is deleted there.
TEST(WriteToFile, TheInstallFolderByAnotherNameIsRefusedToo) {
  Packaging run;
  run.image.Folder("drives/D");
  std::filesystem::create_directory_symlink("../C/Program Files/Fernwick", run.image.ImageFolder() / "drives/D/Link");
  run.window.savePath = "D:\\Link";
  EXPECT_FALSE(run.Run(Version(4, 2, 1, 0)).cabinetMade);
  EXPECT_EQ(run.server->ShownMessages(), std::vector<std::string>{kInstallFolderRefused});
  EXPECT_TRUE(run.log.empty()) << run.log.front();
  EXPECT_TRUE(run.server->Files().FileExists("C:\\Program Files\\Fernwick\\media.bat"));
  // Another folder is no install folder.
  run.window.savePath = "C:\\Out";
  EXPECT_TRUE(run.Run(Version(4, 2, 1, 0)).cabinetMade);
}

}  // namespace
}  // namespace fernwick::packaging
