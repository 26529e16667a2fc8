// versions.txt of a server image: version blocks stated by their answers.
// Beyond "no crash": a malformed file is only ever a std::runtime_error
// naming its line; a stated block answers every question, and in a
// captured image a question it does not state stops with NotCaptured only.
// The statements are held in at most three times the file's size beside it,
// and a ceiling's worth of stated files.
#include <stdexcept>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/image/not_captured.h"
#include "platform/image/version_statements.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  std::map<std::string, image::StatedVersion> stated;
  fuzz::HoldsAtMost(size, 3, 8 << 20, [&] {
    try {
      image::ParseVersionStatements(fuzz::AsText(data, size));
    } catch (const std::runtime_error&) {
    }
  });
  try {
    stated = image::ParseVersionStatements(fuzz::AsText(data, size));
  } catch (const std::runtime_error& e) {
    Check(std::string(e.what()).rfind("versions.txt:", 0) == 0, "the error names the line");
    return 0;
  }
  for (const auto& [path, version] : stated) {
    const image::StatedVersionBlock open(version, false);
    open.Fixed();
    open.Translations();
    open.StringValue("\\StringFileInfo\\040904b0\\FileVersion");
    const image::StatedVersionBlock strict(version, true);
    for (const auto& [query, answer] : version.strings) {
      Check(strict.StringValue(query) == answer, "a stated string answers as stated");
    }
    try {
      strict.Fixed();
      strict.Translations();
    } catch (const image::NotCaptured&) {
    }
  }
  return 0;
}
