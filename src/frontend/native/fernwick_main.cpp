// The native `fernwick` command: the same start-up and Go as the window,
// against a server image, with the report on standard output.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <iostream>
#include <iterator>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "frontend/native/findings_output.h"
#include "frontend/native/cabinet_image/cabinet_image.h"
#include "frontend/native/cabinet_image/cabinet_redaction.h"
#include "frontend/native/cabinet_image/reveal_command.h"
#include "frontend/native/cabinet_image/captured_switches.h"
#include "frontend/native/comparison/compare_command.h"
#include "frontend/native/fleet/fleet_command.h"
#include "frontend/native/headless_view.h"
#include "frontend/native/packaging_programs/packaging_programs.h"
#include "frontend/native/recheck/cab_recheck.h"
#include "frontend/native/verification/verify_command.h"
#include "common/not_in_capture.h"
#include "common/text.h"
#include "platform/image/not_captured.h"
#include "platform/image/server_image.h"
#include "platform/recording/recorder.h"
#include "shell/command_line_switches.h"
#include "shell/main_presenter.h"

namespace {

constexpr const char* kUsage =
    "Usage: fernwick [--out DIR] [--package [--shipped DIR]] [--capture DIR] [--findings]\n"
    "                [--findings-csv FILE] [--summary FILE] IMAGE [SWITCH...]\n"
    "       fernwick [--out DIR] [--findings ...] --from-cab FILE.cab [--recheck] [SWITCH...]\n"
    "       fernwick --redact [--map FILE] [--keywords FILE] IN.cab OUT.cab\n"
    "       fernwick --reveal --map FILE FILE...\n"
    "       fernwick --compare OLD NEW [--html FILE] [--all] [--different-servers]\n"
    "       fernwick --verify VoxtraInfo.cab\n"
    "       fernwick --fleet DIR|CAB... [--csv FILE] [--html FILE] [--all] [--jobs N]\n"
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
    "              service list and switch report, and the server image of what\n"
    "              the gathering read (ServerImage.cab, left out with the switch\n"
    "              \"nocapture\") packed into VoxtraInfo.cab in\n"
    "              the work folder (DIR/drives/<drive>/<root>SystemInfo/), with\n"
    "              the programs and files shipped beside Fernwick (from\n"
    "              --shipped DIR, default the source tree's shipped/) installed\n"
    "              into the output's copy of the install folder. \"silent\" does\n"
    "              the same.\n"
    "  --from-cab  gather the server image a VoxtraInfo.cab carries (the\n"
    "              ServerImage.cab inside it, what Fernwick read on the server)\n"
    "              instead of an image folder: the same report again.\n"
    "  --recheck   with --from-cab: gather the capture with today's rules even\n"
    "              where it cannot answer a question a newer Fernwick asks: the\n"
    "              line that needed the answer says \"(not in this capture)\" and\n"
    "              its findings are \"not evaluable\". Against the CAB's own\n"
    "              Findings.csv each finding is \"present\", \"new since the CAB\n"
    "              was made\" or \"not evaluable\" (the status column of\n"
    "              --findings-csv, a table of --summary; a line on standard error\n"
    "              counts them). Without --recheck the replay stays exact (7).\n"
    "  --fleet     re-check every VoxtraInfo.cab below the folders (or the CABs)\n"
    "              given, the latest CAB of each server (by System ID, then\n"
    "              name) unless --all: --csv FILE one UTF-8 row per server and\n"
    "              finding (standard output without --csv), --html FILE one page\n"
    "              of the servers, the findings by how many servers have them,\n"
    "              the servers that differ from the rest, and the CABs that could\n"
    "              not be read, each with its reason (a corrupt, hostile or\n"
    "              foreign file is skipped, never ends the run). --jobs N CABs at\n"
    "              a time (default: the machine's cores); --as-of yyyy-mm-dd the\n"
    "              day ages are counted to (default: today). Exit codes: 0 every\n"
    "              CAB read, 1 some could not be, 2 bad arguments or no CAB read.\n"
    "              See docs/fleet.md.\n"
    "  --redact    redact an existing VoxtraInfo.cab as the switch \"redact\" does\n"
    "              while packaging: every name and address of every file, the\n"
    "              server image included, replaced by pseudonyms, written to OUT.cab.\n"
    "              --map FILE is the map of originals and pseudonyms, read when it\n"
    "              exists and written back (default: RedactionMap.txt beside\n"
    "              OUT.cab); --keywords FILE more names to replace, one a line.\n"
    "              Before OUT.cab is made every file is checked for every\n"
    "              original of the map; one found: no OUT.cab (exit 5).\n"
    "  --reveal    the customer's side: each FILE (a reply or report that names\n"
    "              the pseudonyms of a redacted CAB) written again as\n"
    "              NAME.revealed.EXT with the originals of the map --map FILE.\n"
    "  --compare   what changed between OLD and NEW, two VoxtraInfo.cab files or\n"
    "              server image folders of one server: the verdict (findings new,\n"
    "              lost visibility, resolved, still present; errors first), the\n"
    "              identity of both (server, System ID, gathering times, Fernwick\n"
    "              versions), the report's changed lines by section (lines that\n"
    "              change on every run left out; --all shows them), the server\n"
    "              images' registry values, files, database answers and program\n"
    "              outputs, the event logs' error and warning counts and the\n"
    "              services that changed. A CAB's server image is gathered again\n"
    "              with today's rules; a CAB without one is read from its report\n"
    "              and Findings.csv, and the output says what cannot be compared.\n"
    "              --html FILE also writes it as one page in the look of\n"
    "              Summary.htm. Two different servers only with\n"
    "              --different-servers. Exit codes: 0 no difference that\n"
    "              matters, 1 differences, 2 bad arguments or input (a corrupt\n"
    "              or hostile CAB: one line). See docs/comparing-cabs.md.\n"
    "  --verify    check a VoxtraInfo.cab against the manifest it carries\n"
    "              (Manifest.csv: every entry's size and SHA-256, the program\n"
    "              that made it and how it ended, the parts that were lost) and\n"
    "              against VoxtraInfo.cab.sha256 beside it, when there is one:\n"
    "              one line per entry missing, added, changed or truncated, and\n"
    "              per lost part. Exit codes: 0 whole, 6 whole but parts were\n"
    "              lost in the run that made it, 2 damaged, changed, no manifest\n"
    "              (an older cabinet: its entries are listed) or bad arguments.\n"
    "              See docs/manifest.md.\n"
    "  --capture DIR  also record what the gathering read and write it as a new\n"
    "              server image into DIR (an empty or new folder), which replays\n"
    "              to the same report. A captured image replays with the\n"
    "              switches its run had, unless SWITCHes are given.\n"
    "  SWITCH      passed on as the program's command line: \"silent\",\n"
    "              \"skippromptcheck\", \"nocapture\" and \"/debug\" are recognised anywhere,\n"
    "              without regard to case.\n"
    "  --findings  print the report's findings (warnings, errors and notices,\n"
    "              each with its id and report line) as a table, the root causes\n"
    "              first, worst first, each followed by what it explains (the id\n"
    "              indented), instead of the report; the exit code tells the\n"
    "              worst one.\n"
    "  --findings-csv FILE, --summary FILE\n"
    "              also write the findings as Findings.csv, or the summary page\n"
    "              Summary.htm, to FILE; with --package, made from the packed\n"
    "              report, so they equal the CAB's files.\n"
    "  --help      this text.\n"
    "\n"
    "Exit codes (each run ends with one):\n"
    "   0  report written; with --package or \"silent\": VoxtraInfo.cab made and\n"
    "      nothing failed\n"
    "   2  bad arguments, or bad input (one line names the file and the line)\n"
    "   3  the work folder or its run lock could not be made (Fernwick.exe: 1)\n"
    "   4  the product is too old to examine: nothing gathered or packed\n"
    "   5  packaging made no VoxtraInfo.cab (the report and the other files stay\n"
    "      in the work folder)\n"
    "   6  VoxtraInfo.cab made, but a part of it is missing or lost (a program\n"
    "      failed or outlived its time limit, cabmaker left a file out,\n"
    "      Findings.csv, Summary.htm or ServerImage.cab not written)\n"
    "   7  the image is a capture that cannot answer a question the gathering\n"
    "      asked (\"not captured: ...\" names it)\n"
    "   8  --capture could not write the capture, or DIR is not empty (nothing\n"
    "      written)\n"
    "   9  another run is gathering or packing with the same work folder;\n"
    "      nothing was touched\n"
    "  10, 11, 12  --findings: the worst finding is a notice, a warning, an error\n"
    "  13  a --summary or --findings-csv file could not be written (after the\n"
    "      report and the cabinet were written)\n"
    "With --redact: 2 IN, the map or the keyword file cannot be read or is\n"
    "malformed; 5 OUT.cab not written (an original found by the check, the map\n"
    "or OUT.cab not writable). With --reveal: 2 the map cannot be read, 5 a\n"
    "FILE cannot be read or written.\n"
    "FernwickMessages.txt in the work folder says what went wrong for 5 and 6;\n"
    "it is packed into the cabinet too. When codes meet, the first of these\n"
    "wins: 5 or 6, then 13, then 10 to 12.\n";

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

struct Options {
  std::filesystem::path out = "fernwick-out";
  std::filesystem::path imagePath;
  std::filesystem::path fromCab;
  std::filesystem::path captureDir;
  std::filesystem::path shipped = FERNWICK_SHIPPED_DIR;
  std::filesystem::path map, keywords;
  bool redact = false;
  std::vector<std::string> extra;  // arguments after the image
  std::string commandLine = "fernwick";
  bool package = false;
  bool recheck = false;
  fernwick::native::FindingsOptions findings;
};

// The options that take a folder or file after them.
std::filesystem::path* PathOption(Options& o, const std::string& arg) {
  if (arg == "--out") return &o.out;
  if (arg == "--shipped") return &o.shipped;
  if (arg == "--from-cab") return &o.fromCab;
  if (arg == "--capture") return &o.captureDir;
  if (arg == "--map") return &o.map;
  if (arg == "--keywords") return &o.keywords;
  return nullptr;
}

// Reads the arguments into `o`; an exit code when the command ends here.
std::optional<int> ReadOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (const auto taken = o.findings.Take(arg, i + 1 < argc ? argv[i + 1] : nullptr)) {
      if (*taken < 0) {
        std::fprintf(stderr, "fernwick: %s needs a file\n", arg.c_str());
        return 2;
      }
      i += *taken;
    } else if (arg == "--package") {
      o.package = true;
    } else if (arg == "--redact") {
      o.redact = true;
    } else if (arg == "--recheck") {
      o.recheck = true;
    } else if (auto* path = PathOption(o, arg)) {
      if (i + 1 == argc) {
        std::fprintf(stderr, "fernwick: %s needs a %s\n", arg.c_str(),
                     arg == "--from-cab"                     ? "cabinet"
                     : arg == "--map" || arg == "--keywords" ? "file"
                                                             : "folder");
        return 2;
      }
      *path = argv[++i];
    } else if (o.imagePath.empty() && o.fromCab.empty()) {
      o.imagePath = arg;
    } else {
      o.commandLine += " " + arg;
      o.extra.push_back(arg);
    }
  }
  if (o.imagePath.empty() == o.fromCab.empty() || (o.redact && (o.extra.size() != 1 || !o.fromCab.empty())) ||
      (o.recheck && (o.fromCab.empty() || o.package))) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // Another capture there would merge with this one into an image of neither server.
  std::error_code ec;
  if (!o.captureDir.empty() && std::filesystem::exists(o.captureDir, ec) &&
      (!std::filesystem::is_directory(o.captureDir, ec) || !std::filesystem::is_empty(o.captureDir, ec))) {
    std::fprintf(stderr, "fernwick: --capture %s: not an empty folder; nothing written\n", o.captureDir.c_str());
    return 8;
  }
  return std::nullopt;
}

// A captured image replays with the switches of its run, unless the
// command line gives switches of its own.
void UseCapturedSwitches(Options& o) {
  if (o.commandLine != "fernwick") return;
  const auto switches = fernwick::native::CapturedSwitches(o.imagePath);
  if (switches && !switches->empty()) o.commandLine += " " + *switches;
}

// Start-up, Go and, when asked, Write To File against the image at
// `o.imagePath`, as the window would run them.
int Gather(const Options& o) {
  std::filesystem::create_directories(o.out);
  fernwick::image::ServerImage image(o.imagePath, std::filesystem::absolute(o.out), o.commandLine);
  const bool package = o.package || fernwick::shell::ReadSwitches(o.commandLine).silent;
  fernwick::native::AddPackagingPrograms(image);
  if (package) InstallShippedFiles(image, o.shipped);
  std::optional<fernwick::recording::Recorder> recorder;
  // Packaging records, as Fernwick.exe does, so that Write To File packs the image.
  if (!o.captureDir.empty() || package) recorder.emplace(image.Platform());
  fernwick::native::HeadlessView view;
  fernwick::shell::MainPresenter presenter(recorder ? recorder->Platform() : image.Platform(), view);
  const auto startup = presenter.FormLoad();
  if (startup == fernwick::shell::StartupOutcome::Failed) {
    std::fprintf(stderr, "fernwick: %s\n", presenter.StartupError().c_str());
    return 3;
  }
  if (startup == fernwick::shell::StartupOutcome::Busy) {
    std::fprintf(stderr, "fernwick: %s\n", presenter.StartupError().c_str());
    return fernwick::shell::exit_code::kAnotherRun;
  }
  if (startup == fernwick::shell::StartupOutcome::ShowWindow &&
      presenter.GoClick() == fernwick::shell::GoOutcome::EndProgram) {
    return fernwick::shell::exit_code::kProductTooOld;
  }
  if (presenter.State() != fernwick::shell::MainState::Finished) return fernwick::shell::exit_code::kProductTooOld;
  const std::string& report = presenter.Buffer().Text();
  if (!o.findings.table) std::fwrite(report.data(), 1, report.size(), stdout);
  if (!o.captureDir.empty() &&
      !WriteCapture(*recorder, image, presenter.WorkFolder() + "\\ServerImage\\", o.captureDir)) {
    return 8;
  }
  // The findings of the text Write To File packed, where it ran: the files
  // equal the CAB's; else of the gathered report.
  const auto findings = [&] {
    const std::string& text = presenter.FindingsText() ? *presenter.FindingsText() : report;
    auto carried = fernwick::report::CarryFindings(presenter.Buffer(), text);
    if (o.recheck) {
      const auto cab = fernwick::native::ReadCabFindings(o.fromCab);
      if (!cab.error.empty()) std::fprintf(stderr, "fernwick: %s: %s\n", o.fromCab.c_str(), cab.error.c_str());
      fernwick::native::MarkRecheck(carried, cab, image.Platform().codePages);
      std::fprintf(stderr, "fernwick: re-checked with today's rules: %s\n",
                   fernwick::native::RecheckCounts(carried).c_str());
    }
    return carried;
  };
  if (!package) {
    image.Files().WriteWholeFile(presenter.WorkFolder() + "\\VoxtraSystemInfo.txt", report);
    const auto carried = findings();
    const int found = o.findings.table ? fernwick::native::FindingsExitCode(carried) : 0;
    return fernwick::shell::exit_code::Combined(std::nullopt, o.findings.Write(carried, image.Platform().codePages),
                                                found);
  }
  if (startup == fernwick::shell::StartupOutcome::ShowWindow) presenter.WriteToFileClick();
  const std::string cabinet = view.Text(fernwick::shell::Control::txtSavePath) + "VoxtraInfo.cab";
  if (const auto host = image.Files().HostPath(cabinet)) {
    std::fprintf(stderr, "fernwick: packaged %s\n", host->string().c_str());
  } else {
    std::fprintf(stderr, "fernwick: packaging made no %s\n", cabinet.c_str());
  }
  // The findings files come last, so that the report and the cabinet are
  // written whatever becomes of them.
  const auto carried = findings();
  const int found = o.findings.table ? fernwick::native::FindingsExitCode(carried) : 0;
  const bool findingsWritten = o.findings.Write(carried, image.Platform().codePages);
  return fernwick::shell::exit_code::Combined(presenter.PackagingExitCode(), findingsWritten, found);
}

}  // namespace

// --redact IN.cab OUT.cab
int RedactCommand(const Options& o) {
  fernwick::native::CabinetRedactionOptions redaction;
  redaction.in = o.imagePath;
  redaction.out = o.extra.front();
  redaction.map = o.map.empty() ? redaction.out.parent_path() / "RedactionMap.txt" : o.map;
  if (!o.keywords.empty()) redaction.keywords = o.keywords;
  std::string note;
  bool badInput = false;
  const std::string failure = fernwick::native::RedactCabinet(redaction, note, badInput);
  if (!failure.empty()) {
    std::fprintf(stderr, "fernwick: %s not redacted: %s\n", o.imagePath.c_str(), failure.c_str());
    return badInput ? 2 : 5;
  }
  std::fprintf(stderr, "fernwick: %s\n", note.c_str());
  return 0;
}

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (fernwick::native::AsksForComparison(args)) return fernwick::native::CompareCommand(args);
  if (fernwick::native::AsksForVerification(args)) return fernwick::native::VerifyCommand(args);
  if (fernwick::native::AsksForReveal(args)) return fernwick::native::RevealCommand(args);
  if (fernwick::native::AsksForFleet(args)) return fernwick::native::FleetCommand(args);
  Options options;
  if (const auto done = ReadOptions(argc, argv, options)) return *done;
  if (options.redact) return RedactCommand(options);
  std::optional<fernwick::native::CabinetImage> fromCabinet;
  try {
    if (!options.fromCab.empty()) {
      fernwick::native::LimitMemoryForCustomerCab();
      options.imagePath = fromCabinet.emplace(options.fromCab).Folder();
    }
  } catch (const fernwick::native::CabinetImageError& e) {
    std::fprintf(stderr, "fernwick: cannot read the server image of %s: %s\n", options.fromCab.c_str(), e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fernwick: cannot read the server image of %s: %s\n", options.fromCab.c_str(), e.what());
    return 2;
  }
  try {
    UseCapturedSwitches(options);
    // Re-checking, a question the capture cannot answer is a line, not the end.
    std::optional<fernwick::RecheckScope> recheck;
    if (options.recheck) recheck.emplace();
    return Gather(options);
  } catch (const fernwick::image::NotCaptured& e) {
    std::fprintf(stderr, "fernwick: not captured: %s\n", e.Question().c_str());
    return 7;
  } catch (const fernwick::image::ServerImageError& e) {
    std::fprintf(stderr, "fernwick: cannot read the server image: %s\n", e.what());
    return 2;
  } catch (const std::filesystem::filesystem_error& e) {
    std::fprintf(stderr, "fernwick: %s\n", e.what());
    return 2;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "fernwick: cannot read the server image: out of memory\n");
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fernwick: cannot read the server image: %s\n", e.what());
    return 2;
  }
}
