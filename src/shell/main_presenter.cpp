#include "shell/main_presenter.h"

#include "probes/registry_api.h"
#include "report/gathering.h"
#include "shell/command_line_switches.h"
#include "shell/main_window_layout.h"

namespace fernwick::shell {

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
    return StartupOutcome::Failed;
  }
  view_.SetText(Control::txtSavePath, workFolder_ + "\\");
  view_.SetText(Control::txtMain, kGreeting);
  promptCheck_.iPromptListBudget = kPromptListBudget;

  if (session_.bSilentMode) {
    GoClick();
    SaveRecordedMessages();
    return StartupOutcome::EndProgram;
  }
  return StartupOutcome::ShowWindow;
}

GoOutcome MainPresenter::GoClick() {
  if (goUsed_) return GoOutcome::Finished;  // one gathering per run
  goUsed_ = true;
  buffer_.Clear();
  state_ = MainState::Working;
  view_.SetText(Control::txtMain, "Working...");
  view_.SetText(Control::cmdGoTorb, "Working...");
  view_.SetEnabled(Control::cmdGoTorb, false);

  report::Gathering gathering{platform_, session_, buffer_, messages_, promptCheck_};
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

void MainPresenter::SaveRecordedMessages() {
  if (messages_.Recorded().empty()) return;
  std::string text;
  for (const auto& message : messages_.Recorded()) text += message + "\r\n";
  platform_.files.WriteWholeFile(workFolder_ + "\\" + kMessagesFileName, text);
}

}  // namespace fernwick::shell
