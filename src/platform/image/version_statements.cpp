#include "platform/image/version_statements.h"

#include <stdexcept>

#include "common/text.h"
#include "platform/image/not_captured.h"
#include "platform/recording/capture_lines.h"

namespace fernwick::image {
namespace {

// Calls visit(word) for each blank-separated word, until it answers false.
template <typename Visit>
void ForEachWord(std::string_view text, Visit&& visit) {
  std::size_t start = 0;
  while (start < text.size()) {
    const auto blank = text.find(' ', start);
    const auto end = blank == std::string_view::npos ? text.size() : blank;
    if (end > start && !visit(text.substr(start, end - start))) return;
    start = end + 1;
  }
}

}  // namespace

std::map<std::string, StatedVersion> ParseVersionStatements(std::string_view text) {
  std::map<std::string, StatedVersion> stated;
  std::size_t lines = 0;
  recording::ForEachCaptureLine(text, [&](recording::CaptureLineText& reading) {
    const auto fail = [&](const std::string& why) {
      throw std::runtime_error("versions.txt:" + std::to_string(reading.Number()) + ": " + why);
    };
    if (reading.Size() > kMostVersionLineBytes)
      fail("a line longer than " + std::to_string(kMostVersionLineBytes >> 20) + " MB");
    if (++lines > kMostVersionLines) fail("more than " + std::to_string(kMostVersionLines) + " lines");
    // A statement has at most four fields: count them before reading any.
    if (reading.FieldCount() > 4) fail("expected PATH KIND ANSWER");
    const recording::CaptureLine line{reading.Number(), reading.RestOfFields()};
    for (std::size_t i = 0; i < line.fields.size(); ++i) {
      if (!line.fields[i] && !(i == 3 && line.fields.size() == 4)) fail("NULL where a text is needed");
    }
    if (line.fields.size() < 3) fail("expected PATH KIND ANSWER");
    const std::string& kind = *line.fields[1];
    const std::string& answer = *line.fields[2];
    std::string key = ToUpper(*line.fields[0]);
    if (stated.size() >= kMostStatedFiles && stated.count(key) == 0) {
      fail("more than " + std::to_string(kMostStatedFiles) + " files");
    }
    StatedVersion& entry = stated[std::move(key)];
    entry.path = *line.fields[0];
    if (kind != "string" && line.fields.size() != 3) fail("expected PATH KIND ANSWER");
    if (kind == "size") {
      const auto size = recording::ParseDecimal(answer);
      if (!size || *size > 0xFFFFFFFFull) fail("bad size");
      entry.size = static_cast<std::uint32_t>(*size);
    } else if (kind == "block") {
      if (answer != "none" && answer != "loaded") fail("expected block loaded or none");
      entry.noBlock = answer == "none";
      entry.block = answer == "loaded";
    } else if (kind == "fixed") {
      if (answer == "none") {
        entry.fixed = std::optional<platform::FixedFileInfo>();
        return;
      }
      std::uint32_t values[13] = {};
      std::size_t count = 0;
      ForEachWord(answer, [&](std::string_view) { return ++count <= 13; });
      if (count != 13) fail("expected 13 hex words or none");
      count = 0;
      ForEachWord(answer, [&](std::string_view word) {
        const auto value = recording::ParseHexWord(word);
        if (!value) fail("bad hex word \"" + std::string(word) + "\"");
        values[count++] = *value;
        return true;
      });
      entry.fixed =
          platform::FixedFileInfo{values[0], values[1], values[2], values[3],  values[4],  values[5], values[6],
                                  values[7], values[8], values[9], values[10], values[11], values[12]};
    } else if (kind == "translations") {
      std::vector<std::uint32_t> translations;
      std::size_t count = 0;
      ForEachWord(answer, [&](std::string_view) { return ++count > 0; });
      translations.reserve(count);
      ForEachWord(answer, [&](std::string_view word) {
        const auto value = recording::ParseHexWord(word);
        if (!value) fail("bad hex word \"" + std::string(word) + "\"");
        translations.push_back(*value);
        return true;
      });
      entry.translations = std::move(translations);
    } else if (kind == "string") {
      if (line.fields.size() != 4) fail("expected PATH string QUERY TEXT");
      entry.strings[ToUpper(answer)] = line.fields[3];
    } else {
      fail("unknown kind \"" + kind + "\"");
    }
  });
  return stated;
}

std::optional<platform::FixedFileInfo> StatedVersionBlock::Fixed() const {
  if (stated_.fixed) return *stated_.fixed;
  if (strict_) throw NotCaptured("version block fixed part of " + stated_.path);
  return std::nullopt;
}

std::vector<std::uint32_t> StatedVersionBlock::Translations() const {
  if (stated_.translations) return *stated_.translations;
  if (strict_) throw NotCaptured("version block translations of " + stated_.path);
  return {};
}

std::optional<std::string> StatedVersionBlock::StringValue(const std::string& path) const {
  const auto found = stated_.strings.find(ToUpper(path));
  if (found != stated_.strings.end()) return found->second;
  if (strict_) throw NotCaptured("version value " + path + " of " + stated_.path);
  return std::nullopt;
}

}  // namespace fernwick::image
