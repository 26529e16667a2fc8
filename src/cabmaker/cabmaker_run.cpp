#include "cabmaker/cabmaker_run.h"

#include <cctype>
#include <utility>
#include <variant>

namespace fernwick::cabmaker {

bool CabinetHost::ReplaceFile(const std::string& from, const std::string& to, std::string& reason) {
  const auto bytes = ReadWholeFile(from);
  if (!bytes || !WriteWholeFile(to, *bytes)) {
    reason = "it cannot be copied";
    return false;
  }
  RemoveFile(from);
  return true;
}

void CabinetHost::RemoveFilesStartingWith(const std::string&) {}

namespace {

bool IsSwitch(const std::string& argument, char letter) {
  return argument.size() == 2 && (argument[0] == '/' || argument[0] == '-') &&
         std::tolower(static_cast<unsigned char>(argument[1])) == letter;
}

struct Arguments {
  std::string directiveFile;
  std::optional<std::string> listFile;
};

// "/f DIRECTIVES [/l LISTFILE]", either switch first. Fernwick starts
// "C:\Program Files\...\cabmaker /f ..." without quotes, so the runtime
// splits the program's own path into arguments: whatever comes before the
// first option is that path.
std::optional<Arguments> ParseArguments(std::vector<std::string> arguments) {
  while (!arguments.empty() &&
         (arguments.front().empty() || (arguments.front()[0] != '/' && arguments.front()[0] != '-'))) {
    arguments.erase(arguments.begin());
  }
  std::optional<std::string> directiveFile;
  Arguments parsed;
  for (std::size_t i = 0; i < arguments.size(); i += 2) {
    if (i + 1 >= arguments.size()) return std::nullopt;
    if (IsSwitch(arguments[i], 'f') && !directiveFile) {
      directiveFile = arguments[i + 1];
    } else if (IsSwitch(arguments[i], 'l') && !parsed.listFile) {
      parsed.listFile = arguments[i + 1];
    } else {
      return std::nullopt;
    }
  }
  if (!directiveFile) return std::nullopt;
  parsed.directiveFile = *directiveFile;
  return parsed;
}

// A field of the list file: one line, the tab kept for the separator.
std::string ListField(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

class Run {
 public:
  Run(CabinetHost& host, Arguments arguments) : host_(host), arguments_(std::move(arguments)) {}

  int Go() {
    // A list left by an earlier run that was ended must not pass for this one's.
    if (arguments_.listFile) host_.RemoveFile(*arguments_.listFile);
    const std::string& directiveFile = arguments_.directiveFile;
    const auto text = host_.ReadWholeFile(directiveFile);
    if (!text) return Fail("cannot read the directive file \"" + directiveFile + "\"");
    auto parsed = ParseDirectives(*text);
    if (const auto* error = std::get_if<DirectiveError>(&parsed)) {
      std::string where = directiveFile;
      if (error->line > 0) where.append("(").append(std::to_string(error->line)).append(")");
      return Fail(where + ": " + error->message);
    }
    Directives directives = std::get<Directives>(std::move(parsed));
    const std::string diskDirectory = directives.DiskDirectory();
    const std::string cabinetName = directives.CabinetName();
    cabinetPath_ = diskDirectory.empty() ? cabinetName : diskDirectory + "\\" + cabinetName;
    part_ = cabinetPath_ + ".part";
    host_.RemoveFilesStartingWith(part_);

    std::vector<std::uint64_t> sizes;
    if (!Measure(directives, sizes)) return End(1);
    std::string tooLarge;
    CabinetPlan plan = PlanCabinet(directives, sizes, tooLarge);
    if (!tooLarge.empty()) {
      return Fail("\"" + tooLarge + "\" is larger than one cabinet folder can hold (" + std::to_string(kFolderLimit) +
                  " bytes)");
    }
    for (const auto& [file, reason] : plan.leftOut) LeaveOut(file.named, Where(file.source, file.line), reason);
    if (plan.folders.empty()) return Fail("none of the files exists");
    if (const std::uint64_t files = FileCount(plan); files > kFileLimit) {
      return Fail(std::to_string(files) + " files for one cabinet, more than the " + std::to_string(kFileLimit) +
                  " a cabinet can hold");
    }
    if (!diskDirectory.empty() && !host_.FolderExists(diskDirectory) && !host_.CreateFolder(diskDirectory)) {
      return Fail("cannot create the folder \"" + diskDirectory + "\"");
    }
    if (!Write(plan)) return End(1);
    const std::uint64_t cabinetSize = host_.FileSize(part_).value_or(0);
    if (directives.maxDiskSize != 0 && cabinetSize > directives.maxDiskSize) {
      RemoveTemporaries();
      return Fail("the cabinet needs " + std::to_string(cabinetSize) + " bytes, more than MaxDiskSize (" +
                  std::to_string(directives.maxDiskSize) +
                  "): cabinets spanning several disks are not made (raise MaxDiskSize or set it to 0)");
    }
    if (std::string why; !host_.ReplaceFile(part_, cabinetPath_, why)) {
      RemoveTemporaries();
      return Fail("cannot put the cabinet in place of \"" + cabinetPath_ + "\" (" + why +
                  "); the file of that name is left as it was");
    }
    host_.RemoveFilesStartingWith(part_);
    bool byProductsWritten = true;
    if (!directives.rptFileName.empty()) {
      byProductsWritten &= host_.WriteWholeFile(directives.rptFileName, ReportText(plan, cabinetName, cabinetSize));
    }
    if (!directives.infFileName.empty()) {
      byProductsWritten &= host_.WriteWholeFile(directives.infFileName, InfText(plan, cabinetName));
    }
    if (!byProductsWritten) host_.Error("cabmaker: the cabinet is written, but not its report or file list");
    return End(leftOut_ ? 3 : 0);
  }

 private:
  std::string Where(const std::string& source, int line) const {
    return "\"" + source + "\" (" + arguments_.directiveFile + " line " + std::to_string(line) + ")";
  }

  // Every source is found and measured before anything is written. An
  // optional one that is missing is named and left out; any other stops
  // the run (false).
  bool Measure(Directives& directives, std::vector<std::uint64_t>& sizes) {
    bool missing = false;
    for (auto& folder : directives.folders) {
      std::vector<FileSpec> present;
      for (auto& entry : folder) {
        std::string reason;
        if (const auto size = host_.ReadableSize(entry.source, reason)) {
          sizes.push_back(*size);
          present.push_back(std::move(entry));
        } else if (entry.optional) {
          LeaveOut(entry.named, Where(entry.source, entry.line), reason);
        } else {
          host_.Error("cabmaker: cannot read " + Where(entry.source, entry.line) + ": " + reason);
          ListLine({}, "cannot read \"" + entry.named + "\": " + reason);
          missing = true;
        }
      }
      folder = std::move(present);
    }
    if (missing) host_.Error("cabmaker: no cabinet written");
    return !missing;
  }

  // A source can still fail while it is packed (it was deleted or cut
  // short meanwhile): an optional one is then left out and the cabinet
  // written again. False when no cabinet could be written.
  bool Write(CabinetPlan& plan) {
    for (;;) {
      std::string failedSource;
      const std::string failure = host_.WriteCabinet(plan, part_, failedSource);
      if (failure.empty()) return true;
      RemoveTemporaries();
      const auto failed = LeaveOutOptional(plan, failedSource);
      if (!failed || plan.folders.empty()) {
        const std::string which = failedSource.empty() ? std::string() : "\"" + failedSource + "\": ";
        if (failed) LeaveOut(failed->named, Where(failed->source, failed->line), failure);
        Fail("cannot write \"" + cabinetPath_ + "\": " + which + failure);
        return false;
      }
      LeaveOut(failed->named, Where(failed->source, failed->line), failure);
    }
  }

  void RemoveTemporaries() {
    host_.RemoveFile(part_);
    host_.RemoveFilesStartingWith(part_);
  }

  void LeaveOut(const std::string& named, const std::string& where, const std::string& reason) {
    host_.Error("cabmaker: optional " + where + " left out: " + reason);
    ListLine(named, reason);
    leftOut_ = true;
  }

  void ListLine(const std::string& named, const std::string& reason) {
    list_ += ListField(named);
    list_ += '\t';
    list_ += ListField(reason);
    list_ += "\r\n";
  }

  // No cabinet: why, on standard error and in the list.
  int Fail(const std::string& reason) {
    host_.Error("cabmaker: " + reason + "; no cabinet written");
    ListLine({}, reason);
    return End(1);
  }

  int End(int code) {
    if (arguments_.listFile && !host_.WriteWholeFile(*arguments_.listFile, list_)) {
      host_.Error("cabmaker: cannot write the list file \"" + *arguments_.listFile + "\"");
    }
    return code;
  }

  CabinetHost& host_;
  Arguments arguments_;
  std::string cabinetPath_;
  std::string part_;  // the cabinet until it is whole, and the start of every temporary file's name
  std::string list_;
  bool leftOut_ = false;
};

}  // namespace

int RunCabmaker(const std::vector<std::string>& arguments, CabinetHost& host) {
  auto parsed = ParseArguments(arguments);
  if (!parsed) {
    host.Error(kUsage);
    return 2;
  }
  return Run(host, std::move(*parsed)).Go();
}

}  // namespace fernwick::cabmaker
