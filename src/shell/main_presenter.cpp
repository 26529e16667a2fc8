#include "shell/main_presenter.h"

#include "packaging/folder_select.h"
#include "packaging/startup_hook.h"
#include "packaging/write_to_file.h"
#include "probes/registry_api.h"
#include "report/gathering.h"
#include "shell/command_line_switches.h"
#include "shell/main_window_layout.h"
#include "shell/update_check.h"

namespace fernwick::shell {
namespace {

// What Write To File sees of the window.
class PackagingWindowOf : public packaging::PackagingWindow {
 public:
  explicit PackagingWindowOf(MainView& view) : view_(view) {}
  std::string ReportText() override { return view_.Text(Control::txtMain); }
  void SetReportText(const std::string& text) override { view_.SetText(Control::txtMain, text); }
  std::string SavePathText() override { return view_.Text(Control::txtSavePath); }
  void ShowSplash(bool shown) override { view_.ShowSplash(shown); }

 private:
  MainView& view_;
};

}  // namespace

MainPresenter::MainPresenter(platform::Platform& platform, MainView& view)
    : platform_(platform), view_(view), messages_(platform.ui, session_) {}

StartupOutcome MainPresenter::FormLoad() {
  platform_.process.SetProcessPriority(platform::kBelowNormalPriorityClass);

  const auto switches = ReadSwitches(platform_.program.CommandLine());
  session_.bSkipPromptCheck = switches.skipPromptCheck;
  session_.bSilentMode = switches.silent;

  const std::string root =
      probes::RegGetString(platform_.registry, "SOFTWARE\\Tessaline\\CommServer\\1.0", "Root Path");
  workFolder_ = root + kWorkFolderName;
  if (!platform_.files.FolderExists(workFolder_) && !platform_.files.CreateFolder(workFolder_)) {
    startupError_ = "Fernwick cannot create its work folder \"" + workFolder_ + "\" (Path not found or access denied).";
    if (session_.bSilentMode) RecordStartupFailure();
    return StartupOutcome::Failed;
  }
  view_.SetText(Control::txtSavePath, workFolder_ + "\\");
  view_.SetText(Control::txtMain, kGreeting);
  promptCheck_.iPromptListBudget = kPromptListBudget;

  if (session_.bSilentMode) {
    if (GoClick() == GoOutcome::Finished) WriteToFileClick();
    SaveRecordedMessages();
    return StartupOutcome::EndProgram;
  }
  packaging::RunStartupHook(platform_, std::string(kToolPageAddress), "");
  return StartupOutcome::ShowWindow;
}

GoOutcome MainPresenter::GoClick() {
  if (goUsed_) return GoOutcome::Finished;  // one gathering per run
  goUsed_ = true;
  // What the image of this gathering holds starts here.
  if (platform_.capture != nullptr) platform_.capture->Restart();
  buffer_.Clear();
  state_ = MainState::Working;
  view_.SetText(Control::txtMain, "Working...");
  view_.SetText(Control::cmdGoTorb, "Working...");
  view_.SetEnabled(Control::cmdGoTorb, false);

  report::Gathering gathering{platform_, session_, buffer_, messages_, promptCheck_, &currentVersion_};
  if (report::GetSystemInfo(gathering) == report::GatheringOutcome::EndProgram) {
    return GoOutcome::EndProgram;
  }
  view_.SetEnabled(Control::cmdWriteToFile, true);
  view_.SetText(Control::cmdGoTorb, "FINISHED");
  view_.SetText(Control::txtMain, buffer_.Text());
  state_ = MainState::Finished;
  return GoOutcome::Finished;
}

void MainPresenter::FormResize(int width, int height, bool minimized) {
  if (minimized) return;
  const MainWindowLayout layout = LayoutForSize(width, height);
  if (layout.newWidth || layout.newHeight) view_.SetWindowSize(layout.newWidth, layout.newHeight);
  for (const auto& placement : layout.controls) view_.Place(placement.id, placement.rect);
}

void MainPresenter::PasteToClipboard() {
  platform_.ui.SetClipboardText(view_.Text(Control::txtMain));
}

void MainPresenter::BrowseClick() {
  view_.SetText(Control::txtSavePath,
                packaging::cmdBrowse_Click(platform_, messages_, view_.Text(Control::txtSavePath)));
}

void MainPresenter::WriteToFileClick() {
  PackagingWindowOf window(view_);
  packaging::cmdWriteToFile_Click(platform_, session_, currentVersion_, window);
}

// A silent run that cannot make its work folder has nowhere else to leave
// its message: the temporary folder is the one place an unattended caller
// can count on.
void MainPresenter::RecordStartupFailure() {
  const std::string folder = platform_.files.TemporaryFolder();
  if (folder.empty()) return;
  std::string text;
  if (auto earlier = platform_.files.ReadWholeFile(folder + kMessagesFileName)) text = *earlier;
  platform_.files.WriteWholeFile(folder + kMessagesFileName, text + startupError_ + "\r\n");
}

void MainPresenter::SaveRecordedMessages() {
  if (messages_.Recorded().empty()) return;
  std::string text;
  for (const auto& message : messages_.Recorded()) text += message + "\r\n";
  platform_.files.WriteWholeFile(workFolder_ + "\\" + kMessagesFileName, text);
}

}  // namespace fernwick::shell
