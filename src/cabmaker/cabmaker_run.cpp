#include "cabmaker/cabmaker_run.h"

#include <variant>

namespace fernwick::cabmaker {
namespace {

bool IsFileSwitch(const std::string& argument) {
  return argument == "/f" || argument == "/F" || argument == "-f" || argument == "-F";
}

}  // namespace

int RunCabmaker(const std::vector<std::string>& commandArguments, CabinetHost& host) {
  // Fernwick starts "C:\Program Files\...\cabmaker /f ..." without quotes,
  // so the runtime splits the program's own path into arguments: whatever
  // comes before the first option is that path.
  std::vector<std::string> arguments = commandArguments;
  while (!arguments.empty() &&
         (arguments.front().empty() || (arguments.front()[0] != '/' && arguments.front()[0] != '-'))) {
    arguments.erase(arguments.begin());
  }
  if (arguments.size() != 2 || !IsFileSwitch(arguments[0])) {
    host.Error(kUsage);
    return 2;
  }
  const std::string& directiveFile = arguments[1];
  const auto text = host.ReadWholeFile(directiveFile);
  if (!text) {
    host.Error("cabmaker: cannot read the directive file \"" + directiveFile + "\"; no cabinet written");
    return 1;
  }
  auto parsed = ParseDirectives(*text);
  if (const auto* error = std::get_if<DirectiveError>(&parsed)) {
    std::string message = "cabmaker: ";
    message += directiveFile;
    if (error->line > 0) message.append("(").append(std::to_string(error->line)).append(")");
    message += ": ";
    message += error->message;
    message += "; no cabinet written";
    host.Error(message);
    return 1;
  }
  Directives directives = std::get<Directives>(parsed);
  const auto where = [&directiveFile](const std::string& source, int line) {
    return "\"" + source + "\" (" + directiveFile + " line " + std::to_string(line) + ")";
  };

  // Every source is found and measured before anything is written. An
  // optional one that is missing is named and left out; any other stops
  // the run.
  std::vector<std::uint64_t> sizes;
  bool missing = false;
  for (auto& folder : directives.folders) {
    std::vector<FileSpec> present;
    for (auto& entry : folder) {
      std::string reason;
      const auto size = host.ReadableSize(entry.source, reason);
      if (size) {
        sizes.push_back(*size);
        present.push_back(std::move(entry));
        continue;
      }
      if (entry.optional) {
        host.Error("cabmaker: optional " + where(entry.source, entry.line) + " left out: " + reason);
      } else {
        host.Error("cabmaker: cannot read " + where(entry.source, entry.line) + ": " + reason);
        missing = true;
      }
    }
    folder = std::move(present);
  }
  if (missing) {
    host.Error("cabmaker: no cabinet written");
    return 1;
  }
  std::string tooLarge;
  CabinetPlan plan = PlanCabinet(directives, sizes, tooLarge);
  if (!tooLarge.empty()) {
    host.Error("cabmaker: \"" + tooLarge +
               "\" is larger than one cabinet folder can hold (2147450880 bytes); no cabinet written");
    return 1;
  }
  for (const auto& [file, reason] : plan.leftOut) {
    host.Error("cabmaker: optional " + where(file.source, file.line) + " left out: " + reason);
  }
  if (plan.folders.empty()) {
    host.Error("cabmaker: none of the files exists; no cabinet written");
    return 1;
  }

  const std::string diskDirectory = directives.DiskDirectory();
  if (!diskDirectory.empty() && !host.FolderExists(diskDirectory) && !host.CreateFolder(diskDirectory)) {
    host.Error("cabmaker: cannot create the folder \"" + diskDirectory + "\"; no cabinet written");
    return 1;
  }
  const std::string cabinetName = directives.CabinetName();
  const std::string cabinetPath = diskDirectory.empty() ? cabinetName : diskDirectory + "\\" + cabinetName;
  // A source can still fail while it is packed (it was deleted meanwhile):
  // an optional one is then left out and the cabinet written again.
  for (;;) {
    std::string failedSource;
    const std::string failure = host.WriteCabinet(plan, cabinetPath, failedSource);
    if (failure.empty()) break;
    host.RemoveFile(cabinetPath);
    const auto failed = LeaveOutOptional(plan, failedSource);
    if (!failed || plan.folders.empty()) {
      const std::string which = failedSource.empty() ? std::string() : "\"" + failedSource + "\": ";
      host.Error("cabmaker: cannot write \"" + cabinetPath + "\": " + which + failure);
      return 1;
    }
    host.Error("cabmaker: optional " + where(failed->source, failed->line) + " left out: " + failure);
  }
  const std::uint64_t cabinetSize = host.FileSize(cabinetPath).value_or(0);
  if (directives.maxDiskSize != 0 && cabinetSize > directives.maxDiskSize) {
    host.RemoveFile(cabinetPath);
    host.Error("cabmaker: the cabinet needs " + std::to_string(cabinetSize) + " bytes, more than MaxDiskSize (" +
               std::to_string(directives.maxDiskSize) +
               "); cabinets spanning several disks are not made: raise MaxDiskSize or set it to 0");
    return 1;
  }
  bool byProductsWritten = true;
  if (!directives.rptFileName.empty()) {
    byProductsWritten &= host.WriteWholeFile(directives.rptFileName, ReportText(plan, cabinetName, cabinetSize));
  }
  if (!directives.infFileName.empty()) {
    byProductsWritten &= host.WriteWholeFile(directives.infFileName, InfText(plan, cabinetName));
  }
  if (!byProductsWritten) host.Error("cabmaker: the cabinet is written, but not its report or file list");
  return 0;
}

}  // namespace fernwick::cabmaker
