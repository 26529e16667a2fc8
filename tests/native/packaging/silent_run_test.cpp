#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "native/packaging/late_programs.h"
#include "native/packaging/quiet_view.h"
#include "native/temp_image.h"
#include "platform/image/image_file_system.h"
#include "shell/main_presenter.h"

namespace fernwick::shell {
namespace {

using testing::QuietView;

TEST(SilentRun, AWorkFolderThatCannotBeMadeIsRecordedInTheTemporaryFolder) {
  testing::TempImage image;
  image.Registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"Q:\\\\Gone\\\\\"\r\n");
  image.Folder("drives/C/WINDOWS/Temp");
  QuietView view;
  MainPresenter presenter(image.Open("Fernwick.exe silent").Platform(), view);
  EXPECT_EQ(presenter.FormLoad(), StartupOutcome::Failed);
  std::ifstream in(image.Out() / "drives/C/WINDOWS/Temp/FernwickMessages.txt", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), presenter.StartupError() + "\r\n");
  EXPECT_NE(presenter.StartupError().find("Q:\\Gone\\SystemInfo"), std::string::npos);
}

// A 4.2 server with everything shipped beside Fernwick, run silently with one
// program that never ends (or none).
struct SilentRun {
  std::string hung;
  bool withDirectives;
  int exitCode;
  std::string record;      // FernwickMessages.txt afterwards
  std::string reportLine;  // a line the report holds
  bool siWrites = true;    // si.bat writes C:\si.txt
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SilentRun, TheExitCodeAndTheRecordTellWhatWasLost) {
  const std::string ended = " did not end within 180 seconds and was ended with the programs it started";
  for (const SilentRun& c : {
           SilentRun{"", true, 0, "(none)", "TORB Version"},
           SilentRun{"si.bat", true, 6, "si.bat" + ended + "\r\n",
                     "(error):258 (si.bat" + ended + ") in procedure GetSystemInfo of Form frmMain"},
           SilentRun{"ipconfigdump.bat", true, 6, "ipconfigdump.bat" + ended + "\r\n", "ipconfigdump.bat" + ended},
           // Denied C:\ (UAC without elevation), blocked by policy: nothing written.
           SilentRun{"", true, 6,
                     "si.bat wrote no c:\\si.txt (\"C:\\Program Files\\Fernwick\\si.bat\"); the system uptime is not "
                     "in the report\r\n",
                     "TORB Version", false},
           SilentRun{"", false, 5,
                     "Could not find VoxtraInfo_SwitchInfo.DDF in the install directory.  Please uninstall and "
                     "reinstall TORB.\r\n(error) in cmdWriteToFile routine:cabmaker wrote no cabinet: cannot read the "
                     "directive file \"C:\\Voxtra\\SystemInfo\\voxtrainfo.ddf\"\r\n(error) in cmdWriteToFile "
                     "routine:VoxtraInfo.cab was not made; the report "
                     "and the other files are left in C:\\Voxtra\\SystemInfo\\\r\n",
                     "TORB Version"},
       }) {
    testing::TempImage image;
    image.Registry(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"C:\\\\Voxtra\\\\\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane Systems\\Norvane Voxtra]\r\n"
        "\"MajorVersion\"=dword:00000004\r\n\"MinorVersion\"=dword:00000002\r\n");
    const std::string install = "drives/C/Program Files/Fernwick/";
    for (const char* program : {"dumpel.exe", "Tabulex.exe", "cabmaker.exe"}) image.Write(install + program, "");
    for (const char* file : {"voxtrainfo_SwitchInfo.ddf", "TelCfgRpt.vbs", "media.bat"}) {
      if (!c.withDirectives && std::string(file) == "voxtrainfo_SwitchInfo.ddf") continue;
      image.Write(install + file, ReadFile(std::string(FERNWICK_SOURCE_DIR) + "/shipped/" + file));
    }
    image.Write("drives/C/Voxtra/SystemInfo/FernwickMessages.txt", "from an earlier run\r\n");
    auto& server = image.Open("Fernwick.exe silent");
    auto& p = server.Platform();
    // The capture batch files write their outputs; one that writes none is
    // a lost part of its own (below).
    auto& programs = dynamic_cast<image::ImageProcessControl&>(p.process);
    programs.AddProgram("si", [&](const std::string&) {
      server.Files().WriteWholeFile("C:\\si.txt",
                                    c.siWrites ? "System Boot Time:          12/7/2026, 8:00:00 AM\r\n" : "");
      if (!c.siWrites) server.Files().RemoveFile("C:\\si.txt", true);
    });
    programs.AddProgram("ipconfigdump", [&](const std::string&) {
      server.Files().WriteWholeFile("C:\\tempipoutput.txt", "Windows IP Configuration\r\n");
    });
    testing::Log log;
    testing::LatePrograms processes(p.process, log, c.hung);
    platform::Platform bundle{p.registry, p.files,    processes,     p.program,  p.ui,  p.clock,
                              p.database, p.versions, p.workstation, p.internet, p.xml, p.codePages};
    QuietView view;
    MainPresenter presenter(bundle, view);
    EXPECT_EQ(presenter.FormLoad(), StartupOutcome::EndProgram);
    EXPECT_EQ(presenter.PackagingExitCode(), c.exitCode) << c.hung;
    const auto work = image.Out() / "drives/C/Voxtra/SystemInfo";
    const auto record = work / "FernwickMessages.txt";
    EXPECT_EQ(std::filesystem::exists(record) ? ReadFile(record) : "(none)", c.record) << c.hung;
    EXPECT_NE(presenter.Buffer().Text().find(c.reportLine), std::string::npos) << c.hung;
  }
}

TEST(SilentRun, ASecondRunWhileOneGathersEndsWithNineAndTouchesNothing) {
  testing::TempImage image;
  image.Registry(
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"C:\\\\Voxtra\\\\\"\r\n");
  image.Write("drives/C/Voxtra/SystemInfo/FernwickMessages.txt", "the first run's record\r\n");
  // The first run holds the work folder, as it does from its start to its end.
  image::ImageFileSystem first(image.ImageFolder(), image.Out(), "C:\\");
  ASSERT_EQ(first.HoldExclusive("C:\\Voxtra\\SystemInfo\\" + std::string(kRunLockName)), 0u);
  image.Folder("drives/C/WINDOWS/Temp");
  for (const char* commandLine : {"Fernwick.exe silent", "Fernwick.exe"}) {
    auto& server = image.Open(commandLine);
    QuietView view;
    MainPresenter presenter(server.Platform(), view);
    EXPECT_EQ(presenter.FormLoad(), StartupOutcome::Busy) << commandLine;
    EXPECT_NE(presenter.StartupError().find("Another Fernwick is gathering or packing on this server"),
              std::string::npos);
    // A window says so in a box; a silent run only through its exit code and standard error.
    EXPECT_EQ(server.ShownMessages().size(), std::string(commandLine).find("silent") == std::string::npos ? 1u : 0u);
    EXPECT_EQ(ReadFile(image.ImageFolder() / "drives/C/Voxtra/SystemInfo/FernwickMessages.txt"),
              "the first run's record\r\n");
    EXPECT_FALSE(std::filesystem::exists(image.Out() / "drives/C/Voxtra/SystemInfo/FernwickMessages.txt"));
  }
  // Only the silent run, which nobody watches, says why it ended in the temporary folder's record.
  EXPECT_EQ(ReadFile(image.Out() / "drives/C/WINDOWS/Temp/FernwickMessages.txt"),
            "Another Fernwick is gathering or packing on this server (its work folder \"C:\\Voxtra\\SystemInfo\" is in "
            "use). Wait until it has ended, then start Fernwick again.\r\n");
}

// A lock file that cannot be made at all (a read-only leftover of a run
// that was killed, a denied folder) says nothing about another run.
TEST(SilentRun, ALockThatCannotBeMadeIsThisRunsOwnFailureWithItsReason) {
  testing::TempImage image;
  image.Registry(
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"C:\\\\Voxtra\\\\\"\r\n");
  image.Folder("drives/C/WINDOWS/Temp");
  image.Write("drives/C/Voxtra/SystemInfo/FernwickRun.lock", "");
  std::filesystem::permissions(image.ImageFolder() / "drives/C/Voxtra/SystemInfo/FernwickRun.lock",
                               std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  for (const char* commandLine : {"Fernwick.exe silent", "Fernwick.exe"}) {
    auto& server = image.Open(commandLine);
    QuietView view;
    MainPresenter presenter(server.Platform(), view);
    EXPECT_EQ(presenter.FormLoad(), StartupOutcome::Failed) << commandLine;
    EXPECT_EQ(presenter.StartupError(),
              "Fernwick cannot create its run lock \"C:\\Voxtra\\SystemInfo\\FernwickRun.lock\" (Permission denied, "
              "Windows error 5); it gathers nothing.");
    // The window shows the failure itself, as it does for a work folder it cannot make.
    EXPECT_TRUE(server.ShownMessages().empty()) << commandLine;
  }
  EXPECT_EQ(ReadFile(image.Out() / "drives/C/WINDOWS/Temp/FernwickMessages.txt"),
            "Fernwick cannot create its run lock \"C:\\Voxtra\\SystemInfo\\FernwickRun.lock\" (Permission denied, "
            "Windows error 5); it gathers nothing.\r\n");
}

// Two runs started in the same second both find no work folder; the one
// whose make fails because the other just made it goes on in it.
class FolderMadeMeanwhile : public platform::FileSystem {
 public:
  explicit FolderMadeMeanwhile(platform::FileSystem& inner) : inner_(inner) {}
  bool FolderExists(const std::string& p) override { return looked_++ > 0 && inner_.FolderExists(p); }
  bool CreateFolder(const std::string& p) override {
    inner_.CreateFolder(p);  // the other run's
    return false;
  }
  bool FileExists(const std::string& p) override { return inner_.FileExists(p); }
  std::optional<std::string> FullPathName(const std::string& p) override { return inner_.FullPathName(p); }
  std::optional<std::string> ReadWholeFile(const std::string& p) override { return inner_.ReadWholeFile(p); }
  bool WriteWholeFile(const std::string& p, std::string_view bytes) override { return inner_.WriteWholeFile(p, bytes); }
  std::uint32_t RemoveFile(const std::string& p, bool force) override { return inner_.RemoveFile(p, force); }
  std::string TemporaryFolder() override { return inner_.TemporaryFolder(); }
  std::uint32_t HoldExclusive(const std::string& p) override { return inner_.HoldExclusive(p); }
  std::vector<std::string> SubFolderNames(const std::string& p) override { return inner_.SubFolderNames(p); }
  std::optional<platform::FolderListing> ListFolder(const std::string& p) override { return inner_.ListFolder(p); }
  std::optional<platform::LocalTime> FileLastModified(const std::string& p) override {
    return inner_.FileLastModified(p);
  }
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string& d) override { return inner_.DriveSpaceOf(d); }

 private:
  platform::FileSystem& inner_;
  int looked_ = 0;
};

TEST(SilentRun, AWorkFolderMadeMeanwhileByAnotherRunIsUsed) {
  testing::TempImage image;
  image.Registry(
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"C:\\\\Voxtra\\\\\"\r\n");
  image.Folder("drives/C/Voxtra");
  auto& p = image.Open("Fernwick.exe").Platform();
  FolderMadeMeanwhile files(p.files);
  platform::Platform bundle{p.registry, files,      p.process,     p.program,  p.ui,  p.clock,
                            p.database, p.versions, p.workstation, p.internet, p.xml, p.codePages};
  QuietView view;
  MainPresenter presenter(bundle, view);
  EXPECT_EQ(presenter.FormLoad(), StartupOutcome::ShowWindow) << presenter.StartupError();
}

}  // namespace
}  // namespace fernwick::shell
