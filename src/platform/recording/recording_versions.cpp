#include "platform/recording/recording_versions.h"

#include "common/text.h"

namespace fernwick::recording {
namespace {

CapturedVersion& EntryOf(Capture& capture, const std::string& path) {
  CapturedVersion& entry = capture.versions[ToUpper(path)];
  if (entry.path.empty()) entry.path = path;
  return entry;
}

// A loaded block whose answers are noted under its file's entry (looked up
// at each answer: a restart may replace the entries meanwhile).
class RecordingBlock : public platform::VersionBlock {
 public:
  RecordingBlock(std::unique_ptr<platform::VersionBlock> real, Capture& capture, std::string path)
      : real_(std::move(real)), capture_(capture), path_(std::move(path)) {}

  std::optional<platform::FixedFileInfo> Fixed() const override {
    auto fixed = real_->Fixed();
    CapturedVersion& entry = EntryOf(capture_, path_);
    if (!entry.fixedAsked) {
      entry.fixedAsked = true;
      entry.fixed = fixed;
    }
    return fixed;
  }
  std::vector<std::uint32_t> Translations() const override {
    auto translations = real_->Translations();
    CapturedVersion& entry = EntryOf(capture_, path_);
    if (!entry.translationsAsked) {
      entry.translationsAsked = true;
      entry.translations = translations;
    }
    return translations;
  }
  std::optional<std::string> StringValue(const std::string& path) const override {
    auto value = real_->StringValue(path);
    EntryOf(capture_, path_).strings.emplace(ToUpper(path), std::make_pair(path, value));
    return value;
  }

 private:
  std::unique_ptr<platform::VersionBlock> real_;
  Capture& capture_;
  std::string path_;
};

}  // namespace

std::uint32_t RecordingVersions::InfoSize(const std::string& path) {
  const std::uint32_t size = real_.InfoSize(path);
  CapturedVersion& entry = EntryOf(capture_, path);
  if (!entry.size) entry.size = size;
  return size;
}

std::unique_ptr<platform::VersionBlock> RecordingVersions::Load(const std::string& path) {
  std::unique_ptr<platform::VersionBlock> block = real_.Load(path);
  CapturedVersion& entry = EntryOf(capture_, path);
  if (!entry.loaded) entry.loaded = block != nullptr;
  if (!block) return block;
  return std::make_unique<RecordingBlock>(std::move(block), capture_, path);
}

std::string RecordingVersions::LanguageName(std::uint32_t languageId) {
  std::string name = real_.LanguageName(languageId);
  capture_.languageNames.emplace(languageId, name);
  return name;
}

}  // namespace fernwick::recording
