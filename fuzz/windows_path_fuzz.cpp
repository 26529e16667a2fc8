// Windows path resolution for the image's file system. Beyond "no crash": a
// resolved path has an upper-case drive letter and no empty, "." or ".."
// component and no separator inside one; resolving its text again, from any
// current folder, gives the same path.
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/image/windows_path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  const std::string_view input = fuzz::AsText(data, size);
  // The input is "path", or "path\ncurrent folder".
  const auto newline = input.find('\n');
  const std::string path(input.substr(0, newline));
  const std::string current =
      newline == std::string_view::npos ? "C:\\WINDOWS" : std::string(input.substr(newline + 1));
  const auto resolved = image::ResolveWindowsPath(path, current);
  if (!resolved) return 0;
  Check(resolved->drive >= 'A' && resolved->drive <= 'Z', "an upper-case drive letter");
  for (const std::string& part : resolved->components) {
    Check(!part.empty() && part != "." && part != "..", "no empty, \".\" or \"..\" component");
    Check(part.find_first_of("\\/") == std::string::npos, "no separator inside a component");
  }
  const std::string text = resolved->Text();
  if (text.size() >= 260) return 0;  // too long to be resolved again
  const auto again = image::ResolveWindowsPath(text, "D:\\elsewhere");
  Check(again && again->Text() == text, "a resolved path resolves to itself");
  return 0;
}
