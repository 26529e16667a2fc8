#include "packaging/redaction_step.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "common/text.h"
#include "packaging/capture_step.h"
#include "packaging/write_to_file.h"
#include "redaction/file_redaction.h"
#include "redaction/keyword_file.h"
#include "redaction/map_file.h"
#include "redaction/name_collection.h"
#include "redaction/package_redaction.h"
#include "redaction/redaction_check.h"

namespace fernwick::packaging {
namespace {

using redaction::RedactionMap;
using redaction::TextRedactor;

constexpr std::size_t kPiece = 1 << 20;

// Why the package cannot be redacted.
struct Unredactable {
  std::string reason;
};

// Every file below `folder` (ending in "\"), as paths relative to it.
void ListFiles(platform::FileSystem& files, const std::string& folder, const std::string& relative,
               std::vector<std::string>& found) {
  const auto listing = files.ListFolder(folder + relative);
  if (!listing) return;
  // An empty folder stands for itself, with its "\\".
  if (listing->files.empty() && listing->folders.empty() && !relative.empty()) found.push_back(relative);
  for (const auto& name : listing->files) found.push_back(relative + name);
  for (const auto& name : listing->folders) ListFiles(files, folder, relative + name + "\\", found);
}

std::string Read(platform::FileSystem& files, const std::string& path) {
  auto bytes = files.ReadWholeFile(path);
  if (!bytes) throw Unredactable{"cannot read " + path};
  return std::move(*bytes);
}

void Write(platform::FileSystem& files, const std::string& path, const std::string& bytes) {
  if (!files.WriteWholeFile(path, bytes)) throw Unredactable{"cannot write " + path};
}

// Hands the file at `path` to `use` in pieces of kPiece bytes, in order.
void ForEachPiece(platform::FileSystem& files, const std::string& path,
                  const std::function<void(const std::string&)>& use) {
  for (std::uint64_t offset = 0;;) {
    const auto piece = files.ReadFilePart(path, offset, kPiece);
    if (!piece) throw Unredactable{"cannot read " + path};
    if (piece->empty()) return;
    use(*piece);
    offset += piece->size();
  }
}

// The collecting pass over the event logs, piece by piece: their names
// join the map before any file is redacted.
void CollectStreamed(platform::FileSystem& files, const std::string& strPathName, TextRedactor& redactor) {
  for (const char* name : redaction::kPackedFiles) {
    const std::string path = strPathName + name;
    if (!redaction::IsStreamedFile(name) || !files.FileExists(path)) continue;
    redaction::LineStreamRedactor stream(redactor, redaction::LineStreamRedactor::Pass::kCollect);
    ForEachPiece(files, path, [&](const std::string& piece) { stream.Feed(piece); });
    stream.Finish();
  }
}

// A file too big to hold: redacted piece by piece into a scratch file,
// which then replaces it the same way.
void RedactStreamed(platform::FileSystem& files, const std::string& path, TextRedactor& redactor) {
  const std::string scratch = path + ".redacting";
  Write(files, scratch, "");
  redaction::LineStreamRedactor stream(redactor);
  const auto append = [&](const std::string& target, const std::string& bytes) {
    if (!bytes.empty() && !files.AppendToFile(target, bytes)) throw Unredactable{"cannot write " + target};
  };
  ForEachPiece(files, path, [&](const std::string& piece) { append(scratch, stream.Feed(piece)); });
  append(scratch, stream.Finish());
  Write(files, path, "");
  ForEachPiece(files, scratch, [&](const std::string& piece) { append(path, piece); });
  files.RemoveFile(scratch, true);
}

// The names of the package's small files (the event logs are too big to be
// held: CollectStreamed reads them): collected where their kind is known;
// the files' texts are returned for the patterns. Read only after the image
// is written, so that the recording of the image never holds them.
std::vector<std::pair<std::string, std::string>> CollectLooseFiles(platform::FileSystem& files,
                                                                   const std::string& strPathName, RedactionMap& map) {
  std::vector<std::pair<std::string, std::string>> texts;
  for (const char* name : redaction::kPackedFiles) {
    if (redaction::IsStreamedFile(name)) continue;
    if (auto bytes = files.ReadWholeFile(strPathName + name)) {
      if (redaction::IsCollectedFile(name)) redaction::CollectNames(name, *bytes, map);
      texts.emplace_back(name, std::move(*bytes));
    }
  }
  return texts;
}

// The capture, written as always and then redacted in its folder before the
// capture step packs it: names found in the image join the map first.
class RedactingCapture : public platform::CaptureStore {
 public:
  RedactingCapture(platform::CaptureStore& real, platform::FileSystem& files, const std::string& strPathName,
                   RedactionMap& map, TextRedactor& redactor, std::function<void()> loadNames)
      : real_(real),
        files_(files),
        strPathName_(strPathName),
        map_(map),
        redactor_(redactor),
        loadNames_(std::move(loadNames)) {}
  void Restart() override {}
  std::string WriteImage(const std::string& folder) override {
    if (std::string failure = real_.WriteImage(folder); !failure.empty()) {
      failure_ = failure;
      return failure;
    }
    try {
      Redact(folder);
    } catch (const Unredactable& u) {
      failure_ = u.reason;
      return "it cannot be redacted: " + u.reason;
    }
    redacted_ = true;
    return {};
  }
  bool Redacted() const { return redacted_; }
  const std::string& Failure() const { return failure_; }
  // The image's files as they were packed (path, bytes), for the check.
  std::vector<std::pair<std::string, std::string>> TakeImage() { return std::move(image_); }

 private:
  void Redact(const std::string& folder) {
    loadNames_();
    std::vector<std::string> names;
    ListFiles(files_, folder, "", names);
    std::vector<std::string> contents;
    for (const auto& name : names) {
      if (name.back() == '\\') {
        contents.emplace_back();
        continue;
      }
      contents.push_back(Read(files_, folder + name));
      redaction::CollectNames(name, contents.back(), map_);
    }
    const auto loose = CollectLooseFiles(files_, strPathName_, map_);
    redaction::LearnNames(
        redactor_,
        [&] {
          for (std::size_t i = 0; i < names.size(); ++i) redaction::DiscoverFile(names[i], contents[i], redactor_);
          for (const auto& [name, bytes] : loose) redaction::DiscoverFile(name, bytes, redactor_);
        },
        [&] { CollectStreamed(files_, strPathName_, redactor_); });
    std::vector<std::string> emptied;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i].back() == '\\') {
        const std::string target = redaction::RedactedEntryName(names[i], redactor_);
        image_.emplace_back(target, std::string());
        if (target == names[i]) continue;
        CreateFolders(folder, target);
        for (std::size_t slash = names[i].size() - 1; slash != std::string::npos && slash > 0;
             slash = names[i].rfind('\\', slash - 1)) {
          emptied.push_back(folder + names[i].substr(0, slash));
        }
        continue;
      }
      const std::string redacted = redaction::RedactFileBytes(names[i], contents[i], redactor_);
      const std::string target = redaction::RedactedEntryName(names[i], redactor_);
      if (target != names[i]) {
        CreateFolders(folder, target);
        files_.RemoveFile(folder + names[i], true);
        for (std::size_t slash = names[i].rfind('\\'); slash != std::string::npos && slash > 0;
             slash = names[i].rfind('\\', slash - 1)) {
          emptied.push_back(folder + names[i].substr(0, slash));
        }
      }
      if (target != names[i] || redacted != contents[i]) Write(files_, folder + target, redacted);
      image_.emplace_back(target, redacted);
      std::string().swap(contents[i]);
    }
    // A folder named after a server must not stay behind, empty.
    std::sort(emptied.begin(), emptied.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const auto& path : emptied) files_.RemoveEmptyFolder(path);
  }
  void CreateFolders(const std::string& folder, const std::string& relative) {
    for (std::size_t slash = relative.find('\\'); slash != std::string::npos; slash = relative.find('\\', slash + 1)) {
      const std::string path = folder + relative.substr(0, slash);
      if (!files_.FolderExists(path)) files_.CreateFolder(path);
    }
  }

  platform::CaptureStore& real_;
  platform::FileSystem& files_;
  const std::string& strPathName_;
  RedactionMap& map_;
  TextRedactor& redactor_;
  std::function<void()> loadNames_;
  bool redacted_ = false;
  std::string failure_;
  std::vector<std::pair<std::string, std::string>> image_;
};

void LoadKeywords(platform::Platform& p, RedactionMap& map) {
  const std::string path = p.program.InstallFolder() + "\\" + redaction::kKeywordFileName;
  if (!p.files.FileExists(path)) return;
  const auto file = redaction::ParseKeywordFile(Read(p.files, path));
  if (!file.error.empty()) throw Unredactable{"the keyword file " + path + ", " + file.error};
  for (const auto& keyword : file.keywords) map.AddName(redaction::Kind::Keyword, keyword);
}

void LoadMap(platform::FileSystem& files, const std::string& path, RedactionMap& map) {
  if (!files.FileExists(path)) return;
  const auto file = redaction::ParseMapFile(Read(files, path));
  std::string error = file.error;
  if (error.empty()) map.Load(file.entries, error);
  if (!error.empty()) throw Unredactable{"the map " + path + ", " + error};
}

// What the redaction uses, kept by the record's filter beyond the step.
struct RedactionState {
  RedactionMap map;
  TextRedactor redactor{map};
};

// Every packed file, checked for every original of the map; the reason
// when one stands anywhere.
void CheckPackage(platform::Platform& p, const std::string& strPathName, const RedactionMap& map,
                  const std::vector<std::pair<std::string, std::string>>& image) {
  auto& codePages = p.codePages;
  const std::uint32_t codePage = codePages.AnsiCodePage();
  redaction::RedactionCheck check(map, [&](std::string_view text) { return codePages.ToUtf8(text, codePage); });
  const auto found = [](redaction::Kind kind, const std::string& where) {
    return Unredactable{"the check of the redacted files found " + redaction::KindPhrase(kind) + " in " + where};
  };
  for (const auto& [name, bytes] : image) {
    if (const auto kind = check.Find({}, name)) {
      throw found(*kind, std::string("the name of a file of ") + kImageCabinetName);
    }
    if (const auto kind = check.Find({}, bytes)) throw found(*kind, std::string(kImageCabinetName) + ", " + name);
  }
  for (const char* name : redaction::kPackedFiles) {
    const std::string path = strPathName + name;
    if (!p.files.FileExists(path)) continue;
    if (!redaction::IsStreamedFile(name)) {
      if (const auto kind = check.Find(name, Read(p.files, path))) throw found(*kind, name);
      continue;
    }
    std::string pending;
    const auto piece = [&](std::string_view lines) {
      if (const auto kind = check.FindInPiece(lines)) throw found(*kind, name);
    };
    ForEachPiece(p.files, path, [&](const std::string& bytes) {
      pending += bytes;
      const std::size_t cut = pending.rfind('\n');
      if (cut == std::string::npos && pending.size() < 4 * kPiece) return;
      const std::size_t end = cut == std::string::npos ? pending.size() : cut + 1;
      piece(std::string_view(pending).substr(0, end));
      pending.erase(0, end);
    });
    piece(pending);
  }
}

// The map, written only once the package passed its check: first beside
// itself, so that a map that cannot be written stays as it was.
void WriteMap(platform::FileSystem& files, const std::string& mapPath, const RedactionMap& map) {
  const std::string next = mapPath + ".new";
  const bool written = files.WriteWholeFile(next, redaction::MapFileText(map));
  const bool copied = written && files.CopyFileTo(next, mapPath) == 0;
  files.RemoveFile(next, true);
  if (!copied) throw Unredactable{"cannot write the map " + mapPath};
}

void RedactPackage(platform::Platform& p, const std::string& strPathName, MessageBoxes& record) {
  auto& files = p.files;
  const auto state = std::make_shared<RedactionState>();
  RedactionMap& map = state->map;
  TextRedactor& redactor = state->redactor;
  const std::uint32_t codePage = p.codePages.AnsiCodePage();
  redactor.SetCodePage(codePage);
  platform::CodePages& codePages = p.codePages;
  map.SetToUtf8([&codePages, codePage](std::string_view text) { return codePages.ToUtf8(text, codePage); });
  const std::string mapPath = strPathName + redaction::kMapFileName;
  // The map and the keyword file are read after the image is written, so
  // that the image never holds them.
  const auto loadNames = [&] {
    LoadMap(files, mapPath, map);
    LoadKeywords(p, map);
  };

  // The image is written again, redacted, in place of the plain one.
  std::vector<std::pair<std::string, std::string>> image;
  if (p.capture != nullptr && files.FileExists(strPathName + kImageCabinetName)) {
    RedactingCapture capture(*p.capture, files, strPathName, map, redactor, loadNames);
    platform::Platform redacting = p;
    redacting.capture = &capture;
    PackServerImage(redacting, strPathName, record);
    if (!capture.Failure().empty()) throw Unredactable{"the server image: " + capture.Failure()};
    // An image that could not be packed again is no part of a redacted
    // package: nothing goes out on a half-done redaction.
    if (!capture.Redacted() || !files.FileExists(strPathName + kImageCabinetName)) {
      throw Unredactable{"the redacted server image cannot be written"};
    }
    image = capture.TakeImage();
  } else {
    loadNames();
    const auto loose = CollectLooseFiles(files, strPathName, map);
    redaction::LearnNames(
        redactor,
        [&] {
          for (const auto& [name, bytes] : loose) redaction::DiscoverFile(name, bytes, redactor);
        },
        [&] { CollectStreamed(files, strPathName, redactor); });
  }

  std::string lengthNote;
  std::size_t packed = image.size();
  const auto redactWhole = [&](const std::string& name, const std::string& extra) {
    const std::string path = strPathName + name;
    if (!files.FileExists(path)) return;
    const std::string bytes = Read(files, path);
    const std::string redacted =
        redaction::RedactFileBytes(name, extra.empty() ? bytes : redaction::SummaryWithNote(bytes, extra), redactor);
    if (name == kReportFileName) lengthNote = redaction::LengthDependentLines(bytes, redacted);
    Write(files, path, redacted);
  };
  for (const char* name : redaction::kPackedFiles) {
    const std::string n = name;
    packed += files.FileExists(strPathName + n) || n == kMessagesFileName ? 1 : 0;
    if (n == "Summary.htm" || n == kMessagesFileName) continue;
    if (redaction::IsStreamedFile(n)) {
      if (files.FileExists(strPathName + n)) RedactStreamed(files, strPathName + n, redactor);
    } else {
      redactWhole(n, {});
    }
  }
  const std::string note = redaction::RedactionNote(map.ReplacedCounts()) + lengthNote +
                           redaction::KeptNote(map.Kept()) + " " +
                           redaction::CheckNote(redaction::CheckedOriginals(map), packed);
  redactWhole("Summary.htm", note);
  // The record is written redacted from now on, whatever joins it later.
  record.RedactWith([state](const std::string& line) { return state->redactor.Redact(line); });
  record.RecordNote(note);
  redactWhole(kMessagesFileName, {});
  CheckPackage(p, strPathName, map, image);
  WriteMap(files, mapPath, map);
}

}  // namespace

bool RedactPackageIfAsked(platform::Platform& p, const std::string& strPathName, MessageBoxes& record) {
  if (!ContainsNoCase(p.program.CommandLine(), redaction::kRedactSwitch)) return true;
  try {
    RedactPackage(p, strPathName, record);
    return true;
  } catch (const Unredactable& u) {
    record.RecordLostPart("VoxtraInfo.cab is not made: it cannot be redacted: " + u.reason);
  } catch (const std::exception& e) {
    record.RecordLostPart(std::string("VoxtraInfo.cab is not made: it cannot be redacted: ") + e.what());
  }
  // Nothing may go out in the clear: a plain image made earlier goes too.
  try {
    p.files.RemoveFile(strPathName + kImageCabinetName, true);
  } catch (const std::exception&) {
  }
  return false;
}

}  // namespace fernwick::packaging
