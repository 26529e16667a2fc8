// image.ini, the facts of a server image ("key=value" lines in [sections]).
// Beyond "no crash": parsing never throws; every "key=value" line of the
// input that is not a comment or section line is found again with its
// section, and the last of equal keys wins.
#include <string>

#include "common/text.h"
#include "fuzz/fuzz_check.h"
#include "platform/image/ini_file.h"

// The most this reader may hold beside its input, in times the input. It
// keeps a container entry for each line or key; the worst case measured is
// one key or section a line: 15 times the file (a map entry for each three bytes).
constexpr long long kHeldMultiple = 32;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  const std::string_view text = fuzz::AsText(data, size);
  fuzz::HoldsAtMost(size, kHeldMultiple, fuzz::kFileReaderConstant, [&] { (void)image::IniFile::Parse(text); });
  const image::IniFile ini = image::IniFile::Parse(text);
  // Walk the lines again and ask for what the last line of each key said.
  std::string section;
  std::size_t pos = 0;
  std::string lastSection;
  std::string lastKey;
  std::string lastValue;
  bool any = false;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(pos, end - pos));
    pos = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') continue;
    if (trimmed.front() == '[' && trimmed.back() == ']') {
      section = trimmed.substr(1, trimmed.size() - 2);
      continue;
    }
    const auto eq = trimmed.find('=');
    if (eq == std::string::npos) continue;
    lastSection = section;
    lastKey = trimmed.substr(0, eq);
    lastValue = Trim(trimmed.substr(eq + 1));
    any = true;
  }
  if (any) Check(ini.Get(lastSection, lastKey) == lastValue, "the last key=value line is found again");
  Check(ini.GetOr("no\nsection", "key", "fallback") == "fallback", "a missing key gives the fallback");
  return 0;
}
