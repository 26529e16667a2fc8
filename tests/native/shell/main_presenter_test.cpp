#include "shell/main_presenter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "native/temp_image.h"
#include "shell/command_line_switches.h"
#include "shell/main_window_layout.h"

namespace fernwick::shell {
namespace {

// Records every change the presenter makes to the window.
class RecordingView : public MainView {
 public:
  void SetText(Control c, const std::string& text) override {
    texts[static_cast<std::size_t>(c)] = text;
    log.push_back(std::string(DesignOf(c).name) + " text " + (c == Control::txtMain ? Short(text) : text));
  }
  std::string Text(Control c) override { return texts[static_cast<std::size_t>(c)]; }
  void SetEnabled(Control c, bool enabled) override {
    log.push_back(std::string(DesignOf(c).name) + (enabled ? " enabled" : " disabled"));
  }
  void Place(Control c, const TwipRect& r) override { placed.push_back({c, r}); }
  void SetWindowSize(std::optional<int> w, std::optional<int> h) override {
    resized = {w.value_or(-1), h.value_or(-1)};
  }
  static std::string Short(const std::string& text) { return text.substr(0, text.find('\r')); }

  std::string texts[8];
  std::vector<std::string> log;
  std::vector<ControlPlacement> placed;
  std::pair<int, int> resized{0, 0};
};

const std::string kRootPath =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\CommServer\\1.0]\r\n\"Root Path\"=\"C:\\\\Voxtra\\\\\"\r\n";
std::string ProductKey(const std::string& major, const std::string& minor) {
  return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvane Systems\\Norvane Voxtra]\r\n\"MajorVersion\"=dword:" + major +
         "\r\n\"MinorVersion\"=dword:" + minor + "\r\n";
}
const std::string kServer = kRootPath + ProductKey("00000004", "00000002");

TEST(MainPresenter, StartUpLowersPriorityPreparesTheWorkFolderAndGreets) {
  testing::TempImage image;
  image.Registry(kServer);
  image.Folder("drives/C/Voxtra");
  auto& server = image.Open();
  RecordingView view;
  MainPresenter presenter(server.Platform(), view);
  EXPECT_EQ(presenter.FormLoad(), StartupOutcome::ShowWindow);
  EXPECT_EQ(dynamic_cast<image::ServerImage&>(server).Platform().process.SetProcessPriority(0), true);
  EXPECT_EQ(view.log, (std::vector<std::string>{"txtSavePath text C:\\Voxtra\\SystemInfo\\",
                                                "txtMain text Press 'Go' to start the gathering process."}));
  EXPECT_EQ(view.texts[static_cast<int>(Control::txtMain)],
            "Press 'Go' to start the gathering process.\r\n\r\nNOTE: Gathering process might take some time to "
            "complete.");
  EXPECT_TRUE(std::filesystem::is_directory(image.Out() / "drives" / "C" / "Voxtra" / "SystemInfo"));
  EXPECT_FALSE(std::filesystem::exists(image.ImageFolder() / "drives" / "C" / "Voxtra" / "SystemInfo"));
  EXPECT_EQ(presenter.PromptCheck().iPromptListBudget, 30000);
  EXPECT_FALSE(presenter.RunSession().bSilentMode);
  EXPECT_EQ(presenter.State(), MainState::Ready);
}

TEST(MainPresenter, WithoutRootPathTheWorkFolderIsRelativeToTheCurrentFolder) {
  testing::TempImage image;
  image.Registry("");
  image.Folder("drives/C/Program Files/Fernwick");
  RecordingView view;
  MainPresenter presenter(image.Open().Platform(), view);
  EXPECT_EQ(presenter.FormLoad(), StartupOutcome::ShowWindow);
  EXPECT_EQ(view.texts[static_cast<int>(Control::txtSavePath)], "SystemInfo\\");
  EXPECT_TRUE(std::filesystem::is_directory(image.Out() / "drives/C/Program Files/Fernwick/SystemInfo"));
}

TEST(MainPresenter, AWorkFolderThatCannotBeMadeStopsTheProgramWithItsName) {
  testing::TempImage image;
  image.Registry(kServer);  // C:\Voxtra does not exist
  RecordingView view;
  MainPresenter presenter(image.Open().Platform(), view);
  EXPECT_EQ(presenter.FormLoad(), StartupOutcome::Failed);
  EXPECT_NE(presenter.StartupError().find("C:\\Voxtra\\SystemInfo"), std::string::npos);
}

TEST(MainPresenter, GoPassesThroughWorkingToFinishedOnce) {
  testing::TempImage image;
  image.Registry(kServer);
  image.Folder("drives/C/Voxtra");
  RecordingView view;
  MainPresenter presenter(image.Open().Platform(), view);
  presenter.FormLoad();
  view.log.clear();
  EXPECT_EQ(presenter.GoClick(), GoOutcome::Finished);
  EXPECT_EQ(view.log, (std::vector<std::string>{"txtMain text Working...", "cmdGoTorb text Working...",
                                                "cmdGoTorb disabled", "cmdWriteToFile enabled",
                                                "cmdGoTorb text FINISHED", "txtMain text TORB Version = 2.0.4"}));
  EXPECT_EQ(presenter.State(), MainState::Finished);
  EXPECT_EQ(view.texts[static_cast<int>(Control::txtMain)], presenter.Buffer().Text());
  EXPECT_EQ(
      presenter.Buffer().Text().rfind("TORB Version = 2.0.4\r\nGather Date/Time = 12-07-2026 / 09:05:03\r\n\r\n", 0),
      0u);
  view.log.clear();
  presenter.GoClick();
  EXPECT_TRUE(view.log.empty()) << "a second Go gathered again";
}

TEST(MainPresenter, PasteToClipboardCopiesTheVisibleBox) {
  testing::TempImage image;
  image.Registry(kServer);
  image.Folder("drives/C/Voxtra");
  auto& server = image.Open();
  RecordingView view;
  MainPresenter presenter(server.Platform(), view);
  presenter.FormLoad();
  presenter.PasteToClipboard();
  EXPECT_EQ(server.Clipboard(), std::string(kGreeting));
  presenter.GoClick();
  view.texts[static_cast<int>(Control::txtMain)] += "edited by the user";
  presenter.PasteToClipboard();
  EXPECT_EQ(server.Clipboard(), presenter.Buffer().Text() + "edited by the user");
}

TEST(MainPresenter, SilentRunGathersAndEndsWithoutTheWindow) {
  testing::TempImage image;
  image.Registry(kServer);
  image.Folder("drives/C/Voxtra");
  RecordingView view;
  MainPresenter presenter(image.Open("Fernwick.exe /SILENT /skippromptcheck").Platform(), view);
  EXPECT_EQ(presenter.FormLoad(), StartupOutcome::EndProgram);
  EXPECT_TRUE(presenter.RunSession().bSilentMode);
  EXPECT_TRUE(presenter.RunSession().bSkipPromptCheck);
  EXPECT_EQ(presenter.State(), MainState::Finished);
}

TEST(MainPresenter, MessagesOfASilentRunAreRecordedInTheWorkFolderNotShown) {
  testing::TempImage image;
  image.Registry(kRootPath + ProductKey("00000004", "00011170"));  // a minor version beyond 16 bits
  image.Folder("drives/C/Voxtra");
  auto& server = image.Open("Fernwick.exe silent");
  RecordingView view;
  MainPresenter presenter(server.Platform(), view);
  EXPECT_EQ(presenter.FormLoad(), StartupOutcome::EndProgram);
  EXPECT_TRUE(server.ShownMessages().empty());
  std::ifstream file(image.Out() / "drives/C/Voxtra/SystemInfo/FernwickMessages.txt", std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  // The image's install folder is empty: the capture batch files write
  // nothing, and Write To File finds no directive file and makes no cabinet.
  EXPECT_EQ(content.str(),
            "(error):6 (Overflow) in procedure getVersion of Module VoxtraVersion\r\n"
            "si.bat wrote no c:\\si.txt (\"C:\\Program Files\\Fernwick\\si.bat\"); the system uptime is not in "
            "the report\r\n"
            "ipconfigdump.bat wrote no c:\\tempipoutput.txt (\"C:\\Program Files\\Fernwick\\ipconfigdump.bat\"); the IP "
            "configuration is not in the report\r\n"
            "(error) in cmdWriteToFile routine:File not found\r\n"
            "(error) in cmdWriteToFile routine:cabmaker wrote no cabinet: cannot read the directive file "
            "\"C:\\Voxtra\\SystemInfo\\voxtrainfo.ddf\"\r\n"
            "(error) in cmdWriteToFile routine:VoxtraInfo.cab was not made; the report and the other files are left "
            "in C:\\Voxtra\\SystemInfo\\\r\n");
  EXPECT_NE(presenter.Buffer().Text().find("     Voxtra version = 4.0(0.0)"), std::string::npos);
}

TEST(MainPresenter, ProductsBelowVersion3EndTheProgramWithAMessageUnlessSilent) {
  testing::TempImage image;
  image.Registry(kRootPath + ProductKey("00000002", "00000001"));
  image.Folder("drives/C/Voxtra");
  {
    auto& server = image.Open();
    RecordingView view;
    MainPresenter presenter(server.Platform(), view);
    presenter.FormLoad();
    EXPECT_EQ(presenter.GoClick(), GoOutcome::EndProgram);
    EXPECT_EQ(server.ShownMessages(),
              std::vector<std::string>{"The Fernwick Tool only works with Voxtra 3.0(1) and later"});
    EXPECT_NE(presenter.State(), MainState::Finished);
  }
  auto& silent = image.Open("Fernwick.exe -silent");
  RecordingView view;
  MainPresenter presenter(silent.Platform(), view);
  EXPECT_EQ(presenter.FormLoad(), StartupOutcome::EndProgram);
  EXPECT_TRUE(silent.ShownMessages().empty());
  EXPECT_TRUE(presenter.Messages().Recorded().empty());
}

TEST(CommandLineSwitches, AreCaseInsensitiveSubstringsAnywhere) {
  struct Case {
    const char* line;
    bool silent;
    bool skip;
  };
  for (const Case& c : {Case{"Fernwick.exe", false, false}, Case{"Fernwick.exe /skippromptcheck", false, true},
                        Case{"Fernwick.exe /SILENT SkipPromptCheck", true, true}, Case{"x -silent", true, false},
                        Case{"x nonsilently", true, false}, Case{"x /sil ent", false, false},
                        Case{"\"C:\\Silent Tools\\Fernwick.exe\"", true, false}}) {
    const auto switches = ReadSwitches(c.line);
    EXPECT_EQ(switches.silent, c.silent) << c.line;
    EXPECT_EQ(switches.skipPromptCheck, c.skip) << c.line;
  }
}

}  // namespace
}  // namespace fernwick::shell
