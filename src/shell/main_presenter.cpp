#include "shell/main_presenter.h"

#include "common/runtime_error.h"
#include "launch/external_app.h"
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
  PackagingWindowOf(MainView& view, const report::ReportBuffer& gathered) : view_(view), gathered_(gathered) {}
  std::string ReportText() override { return view_.Text(Control::txtMain); }
  void SetReportText(const std::string& text) override { view_.SetText(Control::txtMain, text); }
  std::string SavePathText() override { return view_.Text(Control::txtSavePath); }
  void ShowSplash(bool shown) override { view_.ShowSplash(shown); }
  const report::ReportBuffer* Gathered() override { return &gathered_; }

 private:
  MainView& view_;
  const report::ReportBuffer& gathered_;
};

// Why the run lock could not be made, for the record and the box.
std::string LockFailure(std::uint32_t code) {
  const std::string number = "Windows error " + std::to_string(code);
  if (code != 3 && code != 5) return number;
  return ErrorDescription(launch::ErrorNumberOf(code)) + ", " + number;
}

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
  // A run started in the same second may have made the folder between the
  // look and the make: the folder being there is all that counts.
  if (!platform_.files.FolderExists(workFolder_) && !platform_.files.CreateFolder(workFolder_) &&
      !platform_.files.FolderExists(workFolder_)) {
    startupError_ = "Fernwick cannot create its work folder \"" + workFolder_ + "\" (Path not found or access denied).";
    if (session_.bSilentMode) RecordStartupFailure();
    return StartupOutcome::Failed;
  }
  // Both would share the work folder and delete each other's files. Only a
  // sharing violation means another run; a lock that cannot be made at all
  // is this run's own failure, with its reason.
  const std::string lock = workFolder_ + "\\" + kRunLockName;
  if (const std::uint32_t code = platform_.files.HoldExclusive(lock); code != 0) {
    const bool busy = code == platform::FileSystem::kSharingViolation;
    startupError_ = busy ? "Another Fernwick is gathering or packing on this server (its work folder \"" + workFolder_ +
                               "\" is in use). Wait until it has ended, then start Fernwick again."
                         : "Fernwick cannot create its run lock \"" + lock + "\" (" + LockFailure(code) +
                               "); it gathers nothing.";
    // The work folder's record is the other run's: a silent run says why
    // it ended in the temporary folder's record instead.
    if (session_.bSilentMode) RecordStartupFailure();
    if (!session_.bSilentMode && busy) messages_.Show(startupError_);
    return busy ? StartupOutcome::Busy : StartupOutcome::Failed;
  }
  StartMessagesFile();
  view_.SetText(Control::txtSavePath, workFolder_ + "\\");
  view_.SetText(Control::txtMain, kGreeting);
  promptCheck_.iPromptListBudget = kPromptListBudget;

  if (session_.bSilentMode) {
    if (GoClick() == GoOutcome::Finished) WriteToFileClick();
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
    tooOld_ = true;
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
  PackagingWindowOf window(view_, buffer_);
  packaged_ = packaging::cmdWriteToFile_Click(platform_, session_, currentVersion_, window, messages_);
}

int exit_code::Combined(std::optional<int> packaging, bool findingsFilesWritten, int findings) {
  if (packaging == kNoCabinet || packaging == kPartLost) return *packaging;
  if (!findingsFilesWritten) return kFindingsFileUnwritten;
  if (findings != 0) return findings;
  return packaging.value_or(kPackaged);
}

int MainPresenter::PackagingExitCode() const {
  if (tooOld_) return exit_code::kProductTooOld;
  if (!packaged_.cabinetMade) return exit_code::kNoCabinet;
  return messages_.PartLost() ? exit_code::kPartLost : exit_code::kPackaged;
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

// The record of this run only, at a full path: Write To File makes another
// folder current, and an empty "Root Path" leaves the work folder relative.
void MainPresenter::StartMessagesFile() {
  auto& files = platform_.files;
  const std::string path = files.FullPathName(workFolder_).value_or(workFolder_) + "\\" + kMessagesFileName;
  files.RemoveFile(path, true);
  messages_.KeepIn(files, path);
}

}  // namespace fernwick::shell
