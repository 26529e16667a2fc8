// Fuzzes cabmaker's directive-file parser. Beyond "no crash": a file that
// parses has at least one folder and no empty folder, every file has a
// source, the name its line gives it (the end of the source) and a name
// inside the cabinet of 1 to 255 characters and the line
// it came from, and an error names a line of the input (or 0).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "fuzz/fuzz_check.h"
#include "cabmaker/directive_file.h"

// The most this reader may hold beside its input, in times the input. It
// keeps a container entry for each line or key; the worst case measured is
// a one-letter file name a line: 87 times (each file named three times).
constexpr long long kHeldMultiple = 256;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fernwick::fuzz::HoldsAtMost(size, kHeldMultiple, fernwick::fuzz::kFileReaderConstant,
                              [&] { (void)fernwick::cabmaker::ParseDirectives(text); });
  const auto parsed = fernwick::cabmaker::ParseDirectives(text);
  if (const auto* error = std::get_if<fernwick::cabmaker::DirectiveError>(&parsed)) {
    if (error->line < 0 || static_cast<std::size_t>(error->line) > size + 1 || error->message.empty()) std::abort();
    return 0;
  }
  const auto& directives = std::get<fernwick::cabmaker::Directives>(parsed);
  if (directives.folders.empty() || directives.CabinetName().empty()) std::abort();
  for (const auto& folder : directives.folders) {
    if (folder.empty()) std::abort();
    for (const auto& file : folder) {
      if (file.source.empty() || file.named.empty() || !file.source.ends_with(file.named) || file.destination.empty() ||
          file.destination.size() > 255 || file.line < 1 || static_cast<std::size_t>(file.line) > size) {
        std::abort();
      }
    }
  }
  return 0;
}
