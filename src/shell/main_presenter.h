#pragma once
// The main window's behaviour without the window: start-up, Go, the states
// and captions, resizing and the clipboard. The window (or the native
// command) implements MainView and forwards its events here.
#include <optional>
#include <string>

#include "common/message_boxes.h"
#include "common/session.h"
#include "packaging/write_to_file.h"
#include "platform/platform.h"
#include "report/prompt_set_verification.h"
#include "probes/voxtra_version.h"
#include "report/report_buffer.h"
#include "shell/main_window_design.h"

namespace fernwick::shell {

class MainView {
 public:
  virtual ~MainView() = default;
  virtual void SetText(Control control, const std::string& text) = 0;
  virtual std::string Text(Control control) = 0;
  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual void Place(Control control, const TwipRect& rect) = 0;
  // Outer window size in twips; an empty side stays as it is.
  virtual void SetWindowSize(std::optional<int> width, std::optional<int> height) = 0;
  // Shows or hides frmSplashScreen ("Gathering data, please wait...") over
  // the window while Write To File runs.
  virtual void ShowSplash(bool /*shown*/) {}
};

enum class MainState { Ready, Working, Finished };

enum class StartupOutcome {
  ShowWindow,  // wait for the user
  EndProgram,  // a silent run is over, or the product is too old
  Failed,      // the work folder could not be made; see StartupError()
  Busy,        // another run gathers or packs on this server; see StartupError(). Nothing was touched.
};

enum class GoOutcome { Finished, EndProgram };

// How a run that packaged ends, the same for the Windows program's silent
// run and the native command.
namespace exit_code {
inline constexpr int kPackaged = 0;                // VoxtraInfo.cab made and nothing lost
inline constexpr int kProductTooOld = 4;           // the version gate ended the program before packaging
inline constexpr int kNoCabinet = 5;               // no VoxtraInfo.cab
inline constexpr int kPartLost = 6;                // VoxtraInfo.cab made, but a part is missing or timed out
inline constexpr int kAnotherRun = 9;              // another run gathers or packs on this server; nothing touched
inline constexpr int kFindingsFileUnwritten = 13;  // (native) a --summary or --findings-csv file not written

// The one code of a native run: packaging's 5 or 6 first, then 13 for a
// findings file not written, then the findings' 10 to 12 (`findings`, 0
// without --findings), then packaging's 0.
int Combined(std::optional<int> packaging, bool findingsFilesWritten, int findings);
}  // namespace exit_code

// Held open, shared with nobody, in the work folder while a run lasts: a
// second run finds it taken and ends before it touches anything.
inline constexpr const char* kRunLockName = "FernwickRun.lock";

inline constexpr const char* kGreeting =
    "Press 'Go' to start the gathering process.\r\n\r\nNOTE: Gathering process might take some time to complete.";
inline constexpr const char* kWorkFolderName = "SystemInfo";
inline constexpr std::int16_t kPromptListBudget = 30000;

class MainPresenter {
 public:
  MainPresenter(platform::Platform& platform, MainView& view);

  StartupOutcome FormLoad();
  GoOutcome GoClick();
  void FormResize(int width, int height, bool minimized);
  void PasteToClipboard();
  void BrowseClick();
  void WriteToFileClick();

  MainState State() const { return state_; }
  const Session& RunSession() const { return session_; }
  const report::PromptCheckState& PromptCheck() const { return promptCheck_; }
  const report::ReportBuffer& Buffer() const { return buffer_; }
  const std::string& WorkFolder() const { return workFolder_; }
  const std::string& StartupError() const { return startupError_; }
  const MessageBoxes& Messages() const { return messages_; }
  // The exit code after start-up ended a silent run, or after Write To File.
  int PackagingExitCode() const;
  // The text Write To File made Findings.csv and Summary.htm from, if it did.
  const std::optional<std::string>& FindingsText() const { return packaged_.findingsText; }

 private:
  void RecordStartupFailure();
  void StartMessagesFile();

  platform::Platform& platform_;
  MainView& view_;
  Session session_;
  report::PromptCheckState promptCheck_;  // lives for the whole run, as the check's state must
  MessageBoxes messages_;
  report::ReportBuffer buffer_;
  probes::ProductVersion currentVersion_;
  MainState state_ = MainState::Ready;
  bool goUsed_ = false;
  bool tooOld_ = false;
  packaging::PackagingOutcome packaged_;
  std::string workFolder_;
  std::string startupError_;
};

}  // namespace fernwick::shell
