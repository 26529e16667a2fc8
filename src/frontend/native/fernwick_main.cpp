// The native `fernwick` command: the same start-up and Go as the window,
// against a server image, with the report on standard output.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/image/not_captured.h"
#include "platform/image/server_image.h"
#include "platform/recording/recorder.h"
#include "shell/command_line_switches.h"
#include "shell/main_presenter.h"

namespace {

constexpr const char* kUsage =
    "Usage: fernwick [--out DIR] [--package [--shipped DIR]] [--capture DIR] IMAGE [SWITCH...]\n"
    "\n"
    "Gathers the Voxtra diagnostic report of a server image (a folder holding a\n"
    "registry export, a folder per drive, the configuration database script and\n"
    "the machine's facts; see docs/server-image.md) and prints it.\n"
    "\n"
    "  --out DIR   where everything the program writes goes (default:\n"
    "              ./fernwick-out); the image itself is never changed. The report\n"
    "              is also saved as DIR/drives/<drive>/<root>SystemInfo/\n"
    "              VoxtraSystemInfo.txt, as the program's work folder.\n"
    "  --package   also press Write To File: the report, the image's event logs,\n"
    "              service list and switch report packed into VoxtraInfo.cab in\n"
    "              the work folder (DIR/drives/<drive>/<root>SystemInfo/), with\n"
    "              the programs and files shipped beside Fernwick (from\n"
    "              --shipped DIR, default the source tree's shipped/) installed\n"
    "              into the output's copy of the install folder. \"silent\" does\n"
    "              the same.\n"
    "  --capture DIR  also record what the gathering read and write it as a new\n"
    "              server image into DIR (an empty or new folder), which replays\n"
    "              to the same report.\n"
    "  SWITCH      passed on as the program's command line: \"silent\",\n"
    "              \"skippromptcheck\" and \"/debug\" are recognised anywhere,\n"
    "              without regard to case.\n"
    "  --help      this text.\n"
    "\n"
    "Exit codes: 0 report written; 2 bad arguments or unreadable image;\n"
    "3 the work folder could not be made; 4 the product is too old to examine;\n"
    "5 packaging made no VoxtraInfo.cab, or the capture could not be written;\n"
    "6 the image is a capture that cannot answer a question the gathering\n"
    "asked (\"not captured: ...\" names it).\n";

// Stands in for the window: the texts the presenter sets are kept.
class HeadlessView : public fernwick::shell::MainView {
 public:
  void SetText(fernwick::shell::Control c, const std::string& text) override { texts_[Index(c)] = text; }
  std::string Text(fernwick::shell::Control c) override { return texts_[Index(c)]; }
  void SetEnabled(fernwick::shell::Control, bool) override {}
  void Place(fernwick::shell::Control, const fernwick::shell::TwipRect&) override {}
  void SetWindowSize(std::optional<int>, std::optional<int>) override {}

 private:
  static std::size_t Index(fernwick::shell::Control c) { return static_cast<std::size_t>(c); }
  std::string texts_[8];
};

// Installs what ships beside Fernwick.exe into the output's copy of the
// image's install folder, where the image lacks it.
void InstallShippedFiles(fernwick::image::ServerImage& image, const std::filesystem::path& shipped) {
  auto& files = image.Files();
  const std::string install = image.Platform().program.InstallFolder();
  if (!files.FolderExists(install)) files.CreateFolder(install);
  std::error_code ec;
  for (std::filesystem::directory_iterator it(shipped, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    const std::string target = install + "\\" + it->path().filename().string();
    if (files.FileExists(target)) continue;
    std::ifstream in(it->path(), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    files.WriteWholeFile(target, content.str());
  }
}

// Writes the recording as an image into the work folder, as Write To File
// does on a server, and copies it to `target`.
bool WriteCapture(fernwick::recording::Recorder& recorder, fernwick::image::ServerImage& image,
                  const std::string& folder, const std::filesystem::path& target) {
  const std::string failure = recorder.WriteImage(folder);
  const auto written = image.Files().HostPath(folder);
  std::error_code ec;
  if (failure.empty() && written) {
    std::filesystem::create_directories(target, ec);
    std::filesystem::copy(*written, target,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing,
                          ec);
  }
  if (failure.empty() && written && !ec) return true;
  std::fprintf(stderr, "fernwick: capture not written: %s\n",
               !failure.empty() ? failure.c_str() : ec.message().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path out = "fernwick-out";
  std::filesystem::path imagePath;
  std::string commandLine = "fernwick";
  bool package = false;
  std::filesystem::path shipped = FERNWICK_SHIPPED_DIR;
  std::filesystem::path captureDir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--package") {
      package = true;
    } else if (arg == "--shipped") {
      if (i + 1 == argc) {
        std::fputs("fernwick: --shipped needs a folder\n", stderr);
        return 2;
      }
      shipped = argv[++i];
    } else if (arg == "--capture") {
      if (i + 1 == argc) {
        std::fputs("fernwick: --capture needs a folder\n", stderr);
        return 2;
      }
      captureDir = argv[++i];
    } else if (arg == "--out") {
      if (i + 1 == argc) {
        std::fputs("fernwick: --out needs a folder\n", stderr);
        return 2;
      }
      out = argv[++i];
    } else if (imagePath.empty()) {
      imagePath = arg;
    } else {
      commandLine += " " + arg;
    }
  }
  if (imagePath.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    std::filesystem::create_directories(out);
    fernwick::image::ServerImage image(imagePath, std::filesystem::absolute(out), commandLine);
    package = package || fernwick::shell::ReadSwitches(commandLine).silent;
    if (package) InstallShippedFiles(image, shipped);
    std::optional<fernwick::recording::Recorder> recorder;
    if (!captureDir.empty()) recorder.emplace(image.Platform());
    HeadlessView view;
    fernwick::shell::MainPresenter presenter(recorder ? recorder->Platform() : image.Platform(), view);
    const auto startup = presenter.FormLoad();
    if (startup == fernwick::shell::StartupOutcome::Failed) {
      std::fprintf(stderr, "fernwick: %s\n", presenter.StartupError().c_str());
      return 3;
    }
    if (startup == fernwick::shell::StartupOutcome::ShowWindow &&
        presenter.GoClick() == fernwick::shell::GoOutcome::EndProgram) {
      return 4;
    }
    if (presenter.State() != fernwick::shell::MainState::Finished) return 4;
    const std::string& report = presenter.Buffer().Text();
    std::fwrite(report.data(), 1, report.size(), stdout);
    if (recorder && !WriteCapture(*recorder, image, presenter.WorkFolder() + "\\ServerImage\\", captureDir)) return 5;
    if (!package) {
      image.Files().WriteWholeFile(presenter.WorkFolder() + "\\VoxtraSystemInfo.txt", report);
      return 0;
    }
    if (startup == fernwick::shell::StartupOutcome::ShowWindow) presenter.WriteToFileClick();
    const std::string cabinet = view.Text(fernwick::shell::Control::txtSavePath) + "VoxtraInfo.cab";
    const auto host = image.Files().HostPath(cabinet);
    if (!host) {
      std::fprintf(stderr, "fernwick: packaging made no %s\n", cabinet.c_str());
      return 5;
    }
    std::fprintf(stderr, "fernwick: packaged %s\n", host->string().c_str());
    return 0;
  } catch (const fernwick::image::NotCaptured& e) {
    std::fprintf(stderr, "fernwick: not captured: %s\n", e.Question().c_str());
    return 6;
  } catch (const fernwick::image::ServerImageError& e) {
    std::fprintf(stderr, "fernwick: cannot read the server image: %s\n", e.what());
    return 2;
  } catch (const std::filesystem::filesystem_error& e) {
    std::fprintf(stderr, "fernwick: %s\n", e.what());
    return 2;
  }
}
