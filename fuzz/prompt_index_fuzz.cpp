// Fuzzes the reader of prompt index files ("Prompt.ini"): the 8-bit read
// split at CRLF, the UTF-16 re-read of a file that reads as one line, and
// the section-header rules. Beyond "no crash", it checks that:
// - the only failures are the run-time errors 5 (a header without its "]")
//   and 62 (nothing to read), never another exception;
// - no line holds a CRLF, and only an empty file gives no line at all;
// - every prompt name is cut before the first "]" of its line, so no name
//   holds a "]", a CR+LF pair, or is longer than the input;
// - what a capture keeps of the file gives the same names, or the same error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "common/runtime_error.h"
#include "platform/recording/kept_file_contents.h"
#include "report/prompt_index_file.h"

namespace {

// The names the file gives, or the error it raises.
std::string Outcome(std::string_view bytes) {
  try {
    std::string names;
    for (const auto& name : fernwick::report::PromptNames(fernwick::report::PromptIndexLines(bytes))) {
      names += name + '\0';
    }
    return names;
  } catch (const fernwick::RuntimeError& e) {
    return "error " + std::to_string(e.Number());
  }
}

}  // namespace

// The most this reader may hold beside its input, in times the input. It
// keeps a container entry for each line or key; the worst case measured is
// a file of empty lines: 48 times (a string for each two bytes).
constexpr long long kHeldMultiple = 128;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fernwick::fuzz::HoldsAtMost(size, kHeldMultiple, fernwick::fuzz::kFileReaderConstant, [&] {
    try {
      (void)fernwick::report::PromptIndexLines(bytes);
    } catch (const fernwick::RuntimeError&) {
    }
  });
  if (Outcome(fernwick::recording::PromptIndexKept(bytes)) != Outcome(bytes)) std::abort();
  try {
    const auto lines = fernwick::report::PromptIndexLines(bytes);
    if (lines.empty()) std::abort();
    for (const auto& line : lines) {
      if (line.find("\r\n") != std::string::npos) std::abort();
    }
    for (const auto& name : fernwick::report::PromptNames(lines)) {
      if (name.find(']') != std::string::npos || name.find("\r\n") != std::string::npos || name.size() > size) {
        std::abort();
      }
    }
  } catch (const fernwick::RuntimeError& e) {
    if (e.Number() != fernwick::err::kInvalidProcedureCall && e.Number() != fernwick::err::kInputPastEndOfFile) {
      std::abort();
    }
    if (e.Number() == fernwick::err::kInputPastEndOfFile && size > 3) std::abort();
  }
  return 0;
}
