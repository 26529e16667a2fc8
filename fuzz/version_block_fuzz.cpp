// The version-resource block reader (VS_VERSIONINFO as GetFileVersionInfo
// returns it). Beyond "no crash": it never throws; the answers are the same
// when asked twice; a string value holds no NUL byte; every translation the
// block lists can be used to ask for its string table without trouble.
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/image/version_block_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  fuzz::HoldsAtMost(size, fuzz::kFileReaderMultiple, fuzz::kFileReaderConstant, [&] {
    const image::VersionBlockReader measured(std::vector<std::uint8_t>(data, data + size));
    (void)measured.Translations();
  });
  const image::VersionBlockReader reader(std::vector<std::uint8_t>(data, data + size));
  const auto fixed = reader.Fixed();
  Check(fixed.has_value() == reader.Fixed().has_value(), "the fixed part is found every time");
  const std::vector<std::uint32_t> translations = reader.Translations();
  Check(translations.size() * 4 <= size, "no more translations than bytes");
  std::vector<std::string> paths = {"\\", "\\StringFileInfo\\040904B0\\FileVersion", "\\VarFileInfo",
                                    "\\\\StringFileInfo\\\\040904e4\\\\CompanyName\\", ""};
  for (std::size_t i = 0; i < translations.size() && i < 4; ++i) {
    char table[16];
    std::snprintf(table, sizeof table, "%04X%04X", translations[i] & 0xFFFFu, translations[i] >> 16);
    paths.push_back(std::string("\\StringFileInfo\\") + table + "\\ProductVersion");
    paths.push_back(std::string("\\StringFileInfo\\") + table + "\\FileDescription");
  }
  for (const std::string& path : paths) {
    const auto value = reader.StringValue(path);
    Check(value == reader.StringValue(path), "the same answer twice");
    Check(!value || value->find('\0') == std::string::npos, "string values stop at their NUL");
  }
  return 0;
}
