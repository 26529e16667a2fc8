#include "frontend/native/packaging_programs/packaging_programs.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>
#include <variant>

#include "cabmaker/cabmaker_run.h"
#include "cabmaker/gcab/gcab_writer.h"
#include "dumpel/dumpel_options.h"
#include "dumpel/event_log_dump.h"
#include "dumpel/image_event_log.h"
#include "probes/registry_api.h"
#include "report/html_text.h"

namespace fernwick::native {
namespace fs = std::filesystem;
using image::ImageFileSystem;

namespace {

constexpr const char* kIntegrations = "Software\\Tessaline\\MIU\\1.0\\initialization\\integrations";

std::optional<std::string> ReadHostFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// dumpel's exit codes: 0 written, 1 the log cannot be opened, 2 bad arguments.
std::uint32_t RunDumpel(const std::string& commandLine, ImageFileSystem& files, platform::Clock& clock,
                        const fs::path& imageRoot) {
  auto arguments = dumpel::SplitCommandLine(commandLine);
  if (!arguments.empty()) arguments.erase(arguments.begin());
  std::string error;
  const auto options = dumpel::ParseDumpelArguments(arguments, error);
  if (!options) {
    std::fprintf(stderr, "dumpel: %s\n", error.c_str());
    return 2;
  }
  const std::string log = Lower(options->log);
  const auto text = ReadHostFile(imageRoot / "eventlogs" / (log + ".txt"));
  if (!text && log != "system" && log != "application" && log != "security") {
    std::fprintf(stderr, "dumpel: cannot open the event log \"%s\": there is no such log\n", options->log.c_str());
    return 1;
  }
  auto parsed = dumpel::ParseImageEventLog(text.value_or(""));
  if (const auto* bad = std::get_if<dumpel::EventLogError>(&parsed)) {
    std::fprintf(stderr, "dumpel: cannot read the event log \"%s\": eventlogs/%s.txt line %d: %s\n",
                 options->log.c_str(), log.c_str(), bad->line, bad->message.c_str());
    return 1;
  }
  const platform::LocalTime now = clock.Now();
  const auto& records = std::get<std::vector<dumpel::EventRecord>>(parsed);
  const bool written = files.WriteWholeFile(
      options->file,
      dumpel::DumpRecords(records, *options,
                          dumpel::LocalSeconds(now.year, now.month, now.day, now.hour, now.minute, now.second)));
  return written ? 0 : 1;
}

void RunTabulex(const std::string& commandLine, ImageFileSystem& files, const fs::path& imageRoot) {
  const auto arguments = dumpel::SplitCommandLine(commandLine);
  std::string output;
  for (std::size_t i = 1; i + 1 < arguments.size(); ++i) {
    if (arguments[i] == "-o") output = arguments[i + 1];
  }
  if (output.empty()) return;
  std::string rows = ReadHostFile(imageRoot / "services.csv").value_or("");
  files.WriteWholeFile(output,
                       "ServiceName,DisplayName,Service Start Type,Service Status,Service Binary Path,Service "
                       "Account,PID\r\n" +
                           rows);
}

// cabmaker's machine: Windows paths of the image, the cabinet by libgcab.
class ImageCabinetHost : public cabmaker::CabinetHost {
 public:
  explicit ImageCabinetHost(ImageFileSystem& files) : files_(files) {}
  std::optional<std::string> ReadWholeFile(const std::string& path) override { return files_.ReadWholeFile(path); }
  std::optional<std::uint64_t> ReadableSize(const std::string& path, std::string& reason) override {
    const auto host = files_.HostPath(path);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec)) {
      reason = "The system cannot find the file specified";
      return std::nullopt;
    }
    const auto size = fs::file_size(*host, ec);
    if (ec) {
      reason = ec.message();
      return std::nullopt;
    }
    return size;
  }
  bool FolderExists(const std::string& path) override { return files_.FolderExists(path); }
  bool CreateFolder(const std::string& path) override { return files_.CreateFolder(path); }
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    return files_.WriteWholeFile(path, bytes);
  }
  void RemoveFile(const std::string& path) override { files_.RemoveFile(path, true); }
  std::string WriteCabinet(const cabmaker::CabinetPlan& plan, const std::string& path,
                           std::string& failedSource) override {
    if (!files_.WriteWholeFile(path, "")) return "the folder cannot be written";
    const auto target = files_.OverlayPath(path);
    if (!target) return "the path cannot be resolved";
    return cabmaker::WriteCabinetWithGcab(
        plan, target->string(),
        [this](const std::string& source) {
          const auto host = files_.HostPath(source);
          return host ? host->string() : std::string();
        },
        failedSource);
  }
  std::optional<std::uint64_t> FileSize(const std::string& path) override {
    const auto host = files_.HostPath(path);
    std::error_code ec;
    if (!host) return std::nullopt;
    const auto size = fs::file_size(*host, ec);
    return ec ? std::nullopt : std::optional<std::uint64_t>(size);
  }
  void Error(const std::string& line) override {
    std::fprintf(stderr, "%s\n", line.c_str());
    errors.push_back(line);
  }

  std::vector<std::string> errors;  // every line for standard error, in order

 private:
  ImageFileSystem& files_;
};

struct Integration {
  std::string key, name, id;
};

std::vector<Integration> Integrations(platform::Registry& registry) {
  std::vector<Integration> list;
  for (const auto& subkey : probes::RegEnumSubkeys(registry, platform::kHkeyLocalMachine, kIntegrations)) {
    if (subkey.empty()) continue;
    const std::string path = std::string(kIntegrations) + "\\" + subkey;
    const auto id = probes::RegGetValue(registry, platform::kHkeyLocalMachine, path, "IntegrationID",
                                        static_cast<std::int16_t>(probes::RegKind::Dword), std::int32_t{0});
    list.push_back({subkey, probes::RegGetString(registry, path, "DisplayName"),
                    std::holds_alternative<std::int32_t>(id) ? std::to_string(std::get<std::int32_t>(id)) : "0"});
  }
  return list;
}

}  // namespace

std::string SwitchReportHtml(platform::Registry& registry) {
  std::string html =
      "<html>\r\n<head><title>Switch Report</title></head>\r\n<body>\r\n<h1>Switch integrations</h1>\r\n"
      "<table border=\"1\">\r\n<tr><th>Key</th><th>DisplayName</th><th>IntegrationID</th></tr>\r\n";
  for (const auto& i : Integrations(registry)) {
    html += "<tr><td>" + report::HtmlEscaped(i.key) + "</td><td>" + report::HtmlEscaped(i.name) + "</td><td>" + i.id +
            "</td></tr>\r\n";
  }
  return html + "</table>\r\n</body>\r\n</html>\r\n";
}

std::string SwitchLogText(platform::Registry& registry) {
  const auto list = Integrations(registry);
  return "TelCfgRpt: " + std::to_string(list.size()) + " integration(s) under HKLM\\" + kIntegrations +
         "\r\nTelCfgRpt: wrote SwitchReport.html\r\n";
}

int RunImageCabmaker(ImageFileSystem& files, const std::string& commandLine) {
  auto arguments = dumpel::SplitCommandLine(commandLine);
  if (!arguments.empty()) arguments.erase(arguments.begin());
  ImageCabinetHost host(files);
  return cabmaker::RunCabmaker(arguments, host);
}

void AddPackagingPrograms(image::ServerImage& image) {
  auto& process = image.Processes();
  auto& files = image.Files();
  auto& platform = image.Platform();
  const fs::path imageRoot = image.Root();
  process.AddProgram("dumpel", [&files, &platform, imageRoot](const std::string& commandLine) {
    return RunDumpel(commandLine, files, platform.clock, imageRoot);
  });
  process.AddProgram(
      "Tabulex", [&files, imageRoot](const std::string& commandLine) { RunTabulex(commandLine, files, imageRoot); });
  // media.bat is the copy Write To File puts into the output folder: it
  // starts only where that copy exists, as on a server.
  process.AddProgram(
      "media",
      [&files, &platform](const std::string&) {
        if (!files.FileExists("TelCfgRpt.vbs")) return;
        files.WriteWholeFile("SwitchReport.html", SwitchReportHtml(platform.registry));
        files.WriteWholeFile("switchlog.txt", SwitchLogText(platform.registry));
      },
      true);
  process.AddProgram("cabmaker", [&files](const std::string& commandLine) {
    return static_cast<std::uint32_t>(RunImageCabmaker(files, commandLine));
  });
  process.AddProgram("Explorer", [](const std::string&) {});
}

}  // namespace fernwick::native
