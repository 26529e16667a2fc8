#include "frontend/native/cabinet_image/cabinet_redaction.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "cabmaker/gcab/gcab_writer.h"
#include "common/text.h"
#include "frontend/native/cabinet_image/cabinet_files.h"
#include "packaging/capture_step.h"
#include "redaction/file_redaction.h"
#include "redaction/keyword_file.h"
#include "redaction/map_file.h"
#include "redaction/name_collection.h"
#include "platform/image/image_code_pages.h"
#include "redaction/package_redaction.h"
#include "redaction/redaction_check.h"

namespace fernwick::native {
namespace fs = std::filesystem;

namespace {

// A package's files are held in memory while they are redacted.
constexpr std::uint64_t kReadLimit = 4ull << 30;

struct Failure {
  std::string reason;
  bool badInput = false;
};

std::string ReadHost(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure{"cannot read " + path.string()};
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteHost(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw Failure{"cannot write " + path.string()};
}

// A private scratch folder, gone with the object.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "fernwick-redact-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw Failure{"cannot make a temporary folder"};
    folder_ = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const fs::path& Folder() const { return folder_; }

 private:
  fs::path folder_;
};

// Packs the files (stored name, bytes) into a cabinet at `target`.
void Pack(const std::vector<CabinetFile>& files, const fs::path& scratch, const fs::path& target) {
  cabmaker::CabinetPlan plan;
  plan.folders.emplace_back();
  int index = 0;
  for (const auto& file : files) {
    const fs::path source = scratch / std::to_string(index++);
    WriteHost(source, file.bytes);
    plan.folders.back().push_back({source.string(), file.name, file.bytes.size(), 0, false, source.string()});
  }
  std::string failedSource;
  const fs::path part = target.string() + ".part";
  const std::string failure = cabmaker::WriteCabinetWithGcab(
      plan, part.string(), [](const std::string& source) { return source; }, failedSource);
  std::error_code ec;
  if (!failure.empty()) {
    fs::remove(part, ec);
    throw Failure{"cannot write the cabinet " + target.string() + ": " + failure};
  }
  fs::rename(part, target, ec);
  if (ec) throw Failure{"cannot write the cabinet " + target.string() + ": " + ec.message()};
}

// The ANSI code page the server image states ([system] AnsiCodePage in
// image.ini), 1252 when it states none.
std::uint32_t ImageCodePage(const std::vector<CabinetFile>& image) {
  for (const auto& file : image) {
    if (!EqualsNoCase(file.name, "image.ini")) continue;
    bool system = false;
    for (const auto line : redaction::TextLines(file.bytes)) {
      if (!line.empty() && line.front() == '[') system = EqualsNoCase(std::string(line), "[system]");
      const std::string key = "AnsiCodePage=";
      if (system && line.size() > key.size() && EqualsNoCase(std::string(line.substr(0, key.size())), key)) {
        const std::string value(line.substr(key.size()));
        if (value.find_first_not_of("0123456789") == std::string::npos && value.size() < 6) {
          return static_cast<std::uint32_t>(std::stoul(value));
        }
      }
    }
  }
  return platform::kWesternCodePage;
}

// Every file that goes into OUT and its name, checked for every original
// of the map.
void Check(const redaction::RedactionMap& map, const std::vector<CabinetFile>& inner,
           const std::vector<CabinetFile>& outer) {
  image::ImageCodePages codePages(ImageCodePage(inner));
  const std::uint32_t codePage = codePages.AnsiCodePage();
  redaction::RedactionCheck check(map, [&](std::string_view text) { return codePages.ToUtf8(text, codePage); });
  const auto found = [](redaction::Kind kind, const std::string& where) {
    return Failure{"the check of the redacted files found " + redaction::KindPhrase(kind) + " in " + where};
  };
  for (const auto& file : inner) {
    if (const auto kind = check.Find({}, file.name)) {
      throw found(*kind, std::string("the name of a file of ") + packaging::kImageCabinetName);
    }
    if (const auto kind = check.Find({}, file.bytes)) {
      throw found(*kind, std::string(packaging::kImageCabinetName) + ", " + file.name);
    }
  }
  for (const auto& file : outer) {
    if (EqualsNoCase(file.name, packaging::kImageCabinetName)) continue;  // its files are checked above
    if (const auto kind = check.Find({}, file.name)) throw found(*kind, "the name of a file");
    if (const auto kind = check.Find({}, file.bytes)) throw found(*kind, file.name);
  }
}

// The map, written beside itself first: a map that cannot be written
// stays as it was.
void WriteMap(const fs::path& path, const redaction::RedactionMap& map) {
  const fs::path next = path.string() + ".new";
  std::error_code ec;
  try {
    WriteHost(next, redaction::MapFileText(map));
  } catch (const Failure&) {
    fs::remove(next, ec);
    throw Failure{"cannot write the map " + path.string()};
  }
  fs::rename(next, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(next, ignored);
    throw Failure{"cannot write the map " + path.string() + ": " + ec.message()};
  }
}

CabinetFile* Find(std::vector<CabinetFile>& files, const char* name) {
  for (auto& file : files) {
    if (EqualsNoCase(file.name, name)) return &file;
  }
  return nullptr;
}

void Redact(const CabinetRedactionOptions& o, std::string& note) {
  auto outer = ReadCabinetFile(
      o.in, [](const std::string&) { return true; }, kReadLimit);
  if (!outer.error.empty()) throw Failure{o.in.string() + ": " + outer.error, true};
  CabinetFiles inner;
  CabinetFile* image = Find(outer.files, packaging::kImageCabinetName);
  if (image != nullptr) {
    inner = ReadCabinetBytes(
        image->bytes, [](const std::string&) { return true; }, kReadLimit);
    if (!inner.error.empty()) throw Failure{std::string(packaging::kImageCabinetName) + ": " + inner.error, true};
  }
  // Names are matched in the server's code page, and in UTF-8 too.
  const std::uint32_t codePage = ImageCodePage(inner.files);
  image::ImageCodePages codePages(codePage);
  redaction::RedactionMap map;
  map.SetToUtf8([&codePages, codePage](std::string_view text) { return codePages.ToUtf8(text, codePage); });
  std::error_code ec;
  if (fs::exists(o.map, ec)) {
    const auto file = redaction::ParseMapFile(ReadHost(o.map));
    std::string error = file.error;
    if (error.empty()) map.Load(file.entries, error);
    if (!error.empty()) throw Failure{"the map " + o.map.string() + ", " + error, true};
  }
  if (o.keywords) {
    const auto file = redaction::ParseKeywordFile(ReadHost(*o.keywords));
    if (!file.error.empty()) throw Failure{"the keyword file " + o.keywords->string() + ", " + file.error, true};
    for (const auto& keyword : file.keywords) map.AddName(redaction::Kind::Keyword, keyword);
  }
  redaction::TextRedactor redactor(map);
  redactor.SetCodePage(codePage);
  for (const auto& file : inner.files) redaction::CollectNames(file.name, file.bytes, map);
  for (const auto& file : outer.files) {
    if (redaction::IsCollectedFile(file.name)) redaction::CollectNames(file.name, file.bytes, map);
  }
  redaction::LearnNames(
      redactor,
      [&] {
        for (const auto& file : inner.files) redaction::DiscoverFile(file.name, file.bytes, redactor);
        for (const auto& file : outer.files) {
          if (!redaction::IsStreamedFile(file.name) && &file != image)
            redaction::DiscoverFile(file.name, file.bytes, redactor);
        }
      },
      [&] {
        for (const auto& file : outer.files) {
          if (!redaction::IsStreamedFile(file.name)) continue;
          redaction::LineStreamRedactor stream(redactor, redaction::LineStreamRedactor::Pass::kCollect);
          stream.Feed(file.bytes);
          stream.Finish();
        }
      });
  Scratch scratch;
  if (image != nullptr) {
    for (auto& file : inner.files) {
      file.bytes = redaction::RedactFileBytes(file.name, file.bytes, redactor);
      file.name = redaction::RedactedEntryName(file.name, redactor);
    }
    const fs::path packed = scratch.Folder() / "image.cab";
    fs::create_directories(scratch.Folder() / "image");
    Pack(inner.files, scratch.Folder() / "image", packed);
    image->bytes = ReadHost(packed);
  }
  CabinetFile* summary = Find(outer.files, "Summary.htm");
  CabinetFile* messages = Find(outer.files, "FernwickMessages.txt");
  std::string lengthNote;
  for (auto& file : outer.files) {
    if (&file == image || &file == summary || &file == messages) continue;
    std::string redacted = redaction::RedactFileBytes(file.name, file.bytes, redactor);
    if (EqualsNoCase(file.name, "VoxtraSystemInfo.txt"))
      lengthNote = redaction::LengthDependentLines(file.bytes, redacted);
    file.bytes = std::move(redacted);
  }
  std::size_t packed = inner.files.size() + outer.files.size() - (image != nullptr ? 1 : 0);
  if (Find(outer.files, "FernwickMessages.txt") == nullptr) ++packed;
  note = redaction::RedactionNote(map.ReplacedCounts()) + lengthNote + redaction::KeptNote(map.Kept()) + " " +
         redaction::CheckNote(redaction::CheckedOriginals(map), packed);
  if (summary != nullptr) {
    summary->bytes =
        redaction::RedactFileBytes(summary->name, redaction::SummaryWithNote(summary->bytes, note), redactor);
  }
  if (messages == nullptr) {
    outer.files.push_back({"FernwickMessages.txt", false, {}});
    messages = &outer.files.back();
  }
  messages->bytes = redaction::RedactFileBytes(messages->name, messages->bytes + note + "\r\n", redactor);
  Check(map, inner.files, outer.files);
  // The map first: a cabinet whose map is lost could never be read back.
  WriteMap(o.map, map);
  fs::create_directories(scratch.Folder() / "outer");
  Pack(outer.files, scratch.Folder() / "outer", o.out);
}

}  // namespace

std::string RedactCabinet(const CabinetRedactionOptions& options, std::string& note, bool& badInput) {
  badInput = false;
  try {
    Redact(options, note);
    return {};
  } catch (const Failure& f) {
    badInput = f.badInput;
    return f.reason;
  } catch (const std::exception& e) {
    return e.what();  // a file system error, or more addresses than the pseudonym ranges hold
  }
}

}  // namespace fernwick::native
