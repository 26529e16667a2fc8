// The registry export loader (8-bit, UTF-8 and UTF-16LE exports).
// Beyond "no crash": the only exception is RegFileError, and its text starts
// with the file name and a line number; a 7-bit export loads to the same
// result (the same error text, or the same tree of keys) written as 8-bit,
// as UTF-8 with byte-order mark and as UTF-16LE with byte-order mark.
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/image/reg_file.h"

namespace fernwick::fuzz {
namespace {

// Every key below both hives, one "path" per line, walked without recursion.
std::string KeyTree(image::RegistryDouble& registry) {
  std::string tree;
  std::vector<std::pair<platform::RegKey, std::string>> pending = {{platform::kHkeyLocalMachine, "HKLM"},
                                                                   {platform::kHkeyClassesRoot, "HKCR"}};
  while (!pending.empty()) {
    const auto [key, path] = pending.back();
    pending.pop_back();
    tree += path + "\n";
    char name[1024];
    for (std::uint32_t i = 0; registry.EnumKey(key, i, name, sizeof name) == platform::kErrorSuccess; ++i) {
      platform::RegKey child = 0;
      Check(registry.OpenKey(key, name, child) == platform::kErrorSuccess, "an enumerated key opens");
      pending.emplace_back(child, path + "\\" + name);
    }
    if (key != platform::kHkeyLocalMachine && key != platform::kHkeyClassesRoot) registry.CloseKey(key);
  }
  Check(registry.OpenHandleCount() == 0, "every handle closed");
  return tree;
}

// "E:..." for an error, "K:..." with the key tree for a load.
std::string Outcome(std::string_view bytes) {
  image::RegistryDouble registry;
  try {
    image::LoadRegText(registry, bytes, "f.reg");
  } catch (const image::RegFileError& e) {
    const std::string text = e.what();
    Check(text.rfind("f.reg:", 0) == 0 && text.size() > 6 && text[6] >= '1' && text[6] <= '9',
          "the error names the file and the line");
    return "E:" + text;
  }
  return "K:" + KeyTree(registry);
}

}  // namespace
}  // namespace fernwick::fuzz

// The most this reader may hold beside its input, in times the input. The
// registry it loads keeps a map entry for each key and value; the worst
// case measured is a value a line: 13 times.
constexpr long long kHeldMultiple = 32;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick::fuzz;
  const std::string_view bytes = AsText(data, size);
  HoldsAtMost(size, kHeldMultiple, kFileReaderConstant, [&] {
    fernwick::image::RegistryDouble registry;
    try {
      fernwick::image::LoadRegText(registry, bytes, "f.reg");
    } catch (const fernwick::image::RegFileError&) {
    }
  });
  const std::string plain = Outcome(bytes);
  bool sevenBit = true;
  for (char c : bytes) sevenBit = sevenBit && c != '\0' && static_cast<unsigned char>(c) < 0x80;
  if (!sevenBit || bytes.substr(0, 2) == "\xFF\xFE") return 0;
  Check(Outcome("\xEF\xBB\xBF" + std::string(bytes)) == plain, "UTF-8 export loads as the 8-bit one");
  std::string utf16 = "\xFF\xFE";
  for (char c : bytes) utf16 += std::string{c, '\0'};
  Check(Outcome(utf16) == plain, "UTF-16LE export loads as the 8-bit one");
  return 0;
}
