#include "packaging/package_ledger.h"

#include <set>

#include "common/sha256.h"
#include "common/text.h"

namespace fernwick::packaging {
namespace {

constexpr std::size_t kDigestPiece = 1 << 20;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, long long m, long long d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

long long SecondsOf(const platform::LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600LL + t.minute * 60LL + t.second;
}

// `text` with every occurrence of `folder` (any case) replaced by `name`.
std::string ReplaceFolder(const std::string& text, const std::string& folder, const std::string& name) {
  if (folder.empty()) return text;
  const std::string upperText = ToUpper(text);
  const std::string upperFolder = ToUpper(folder);
  std::string out;
  std::size_t at = 0;
  for (std::size_t hit = upperText.find(upperFolder); hit != std::string::npos; hit = upperText.find(upperFolder, at)) {
    out.append(text, at, hit - at);
    out += name;
    at = hit + folder.size();
  }
  return out + text.substr(at);
}

std::string WithBackslash(const std::string& folder) {
  return folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}

}  // namespace

std::string EndedText(const std::optional<launch::ProgramEnd>& end) {
  using How = launch::ProgramEnd::How;
  if (!end) return "could not start";
  switch (end->how) {
    case How::kExited:
      return end->exitCode ? "exit code " + std::to_string(*end->exitCode) : "ended, exit code unknown";
    case How::kEndedAtLimit: return "ended at its limit";
    case How::kLeftRunning: return "left running";
    case How::kWaitFailed: return "ended, exit code unknown";
  }
  return "ended, exit code unknown";
}

long long SecondsBetween(const platform::LocalTime& from, const platform::LocalTime& to) {
  const long long seconds = SecondsOf(to) - SecondsOf(from);
  return seconds > 0 ? seconds : 0;
}

std::string CommandLineWithoutFolders(const std::string& commandLine, const std::string& outputFolder,
                                      const std::string& installFolder) {
  // The longer folder first: the output folder may lie below the install folder.
  std::string out = WithBackslash(outputFolder);
  std::string install = WithBackslash(installFolder);
  if (install.size() > out.size()) {
    return ReplaceFolder(ReplaceFolder(commandLine, install, "<install>\\"), out, "<output>\\");
  }
  return ReplaceFolder(ReplaceFolder(commandLine, out, "<output>\\"), install, "<install>\\");
}

void PackageLedger::Produced(const std::string& file, const std::string& program, const std::string& madeBy,
                             const std::string& ended, long long seconds) {
  auto [it, added] = parts_.try_emplace(ToUpper(file));
  if (added) order_.push_back(file);
  it->second.program = program;
  it->second.madeBy = madeBy;
  it->second.ended = ended;
  it->second.seconds = ended == "could not start" ? std::string() : std::to_string(seconds);
}

void PackageLedger::Lost(const std::string& file, const std::string& reason) {
  auto [it, added] = parts_.try_emplace(ToUpper(file));
  if (added) order_.push_back(file);
  if (it->second.lostReason.empty()) it->second.lostReason = reason;
}

bool PackageLedger::IsLost(const std::string& file) const {
  const auto it = parts_.find(ToUpper(file));
  return it != parts_.end() && !it->second.lostReason.empty();
}

std::vector<std::pair<std::string, std::string>> PackageLedger::NotWritten(platform::FileSystem& files,
                                                                           const std::string& folder) const {
  std::vector<std::pair<std::string, std::string>> missing;
  for (const std::string& name : order_) {
    const Part& part = parts_.at(ToUpper(name));
    if (!part.program.empty() && part.lostReason.empty() && !files.FileExists(folder + name)) {
      missing.emplace_back(name, part.program);
    }
  }
  return missing;
}

std::vector<ManifestRecord> PackageLedger::Records(platform::FileSystem& files, const std::string& folder,
                                                   const std::vector<std::string>& packed) const {
  std::vector<ManifestRecord> records;
  std::set<std::string> listed;
  const auto lostRecord = [](const std::string& name, const Part& part, const std::string& reason) {
    return ManifestRecord{
        name, std::nullopt, {}, part.madeBy, part.ended, part.seconds, std::string(kLostStatusPrefix) + reason};
  };
  for (const std::string& name : packed) {
    if (EqualsNoCase(name, kManifestName) || !listed.insert(ToUpper(name)).second) continue;
    const auto it = parts_.find(ToUpper(name));
    const Part part = it == parts_.end() ? Part{} : it->second;
    if (!part.lostReason.empty()) {
      records.push_back(lostRecord(name, part, part.lostReason));
      continue;
    }
    if (const auto digest = files.FileExists(folder + name) ? DigestOfFile(files, folder + name) : std::nullopt) {
      records.push_back(
          {name, digest->size, digest->sha256, part.madeBy, part.ended, part.seconds, std::string(kThisRunsStatus)});
    } else if (it != parts_.end()) {
      records.push_back(lostRecord(name, part, files.FileExists(folder + name) ? "it cannot be read" : "not written"));
    }
  }
  for (const std::string& name : order_) {
    const Part& part = parts_.at(ToUpper(name));
    if (part.lostReason.empty() || !listed.insert(ToUpper(name)).second) continue;
    records.push_back(lostRecord(name, part, part.lostReason));
  }
  return records;
}

std::optional<FileDigest> DigestOfFile(platform::FileSystem& files, const std::string& path) {
  Sha256 hash;
  FileDigest digest;
  while (true) {
    const auto piece = files.ReadFilePart(path, digest.size, kDigestPiece);
    if (!piece) return std::nullopt;
    if (piece->empty()) break;
    hash.Add(*piece);
    digest.size += piece->size();
  }
  digest.sha256 = hash.HexDigest();
  return digest;
}

}  // namespace fernwick::packaging
