#include "frontend/native/cabinet_image/captured_switches.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "common/text.h"
#include "platform/image/ini_file.h"
#include "platform/recording/capture_texts.h"

namespace fernwick::native {
namespace {

std::optional<std::string> Capture(const std::filesystem::path& image, const char* key) {
  std::ifstream in(image / "image.ini", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto facts = image::IniFile::Parse(text);
  if (!facts.Get("capture", recording::kCaptureMarkKey)) return std::nullopt;
  return facts.GetOr("capture", key, "");
}

}  // namespace

std::optional<std::string> CapturedSwitches(const std::filesystem::path& image) {
  const auto stated = Capture(image, recording::kSwitchesKey);
  if (!stated) return std::nullopt;
  std::istringstream switches(*stated);
  std::string kept;
  for (std::string word; switches >> word;) {
    if (!ContainsNoCase(word, "silent")) kept += (kept.empty() ? "" : " ") + word;
  }
  return kept;
}

std::string RecordedBy(const std::filesystem::path& image) {
  std::string by = Capture(image, recording::kCaptureMarkKey).value_or("");
  constexpr std::string_view kProgram = "Fernwick ";
  if (StartsWithNoCase(by, kProgram)) by.erase(0, kProgram.size());
  return Trim(by);
}

}  // namespace fernwick::native
