// The native `fernwick` command: the same start-up and Go as the window,
// against a server image, with the report on standard output.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "platform/image/server_image.h"
#include "shell/main_presenter.h"

namespace {

constexpr const char* kUsage =
    "Usage: fernwick [--out DIR] IMAGE [SWITCH...]\n"
    "\n"
    "Gathers the Voxtra diagnostic report of a server image (a folder holding a\n"
    "registry export, a folder per drive, the configuration database script and\n"
    "the machine's facts; see docs/server-image.md) and prints it.\n"
    "\n"
    "  --out DIR   where everything the program writes goes (default:\n"
    "              ./fernwick-out); the image itself is never changed. The report\n"
    "              is also saved as DIR/drives/<drive>/<root>SystemInfo/\n"
    "              VoxtraSystemInfo.txt, as the program's work folder.\n"
    "  SWITCH      passed on as the program's command line: \"silent\",\n"
    "              \"skippromptcheck\" and \"/debug\" are recognised anywhere,\n"
    "              without regard to case.\n"
    "  --help      this text.\n"
    "\n"
    "Exit codes: 0 report written; 2 bad arguments or unreadable image;\n"
    "3 the work folder could not be made; 4 the product is too old to examine.\n";

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

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path out = "fernwick-out";
  std::filesystem::path imagePath;
  std::string commandLine = "fernwick";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--out") {
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
    HeadlessView view;
    fernwick::shell::MainPresenter presenter(image.Platform(), view);
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
    image.Files().WriteWholeFile(presenter.WorkFolder() + "\\VoxtraSystemInfo.txt", report);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return 0;
  } catch (const fernwick::image::ServerImageError& e) {
    std::fprintf(stderr, "fernwick: cannot read the server image: %s\n", e.what());
    return 2;
  } catch (const std::filesystem::filesystem_error& e) {
    std::fprintf(stderr, "fernwick: %s\n", e.what());
    return 2;
  }
}
