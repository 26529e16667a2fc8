#pragma once
// Loads registry export files (".reg") into the registry double:
// "REGEDIT4" and "Windows Registry Editor Version 5.00", 8-bit (code page
// 1252), UTF-8 or UTF-16LE with byte-order mark; quoted strings with escapes,
// dword:, hex: and hex(0) to hex(b): with line continuations, "@" default
// values, "-" deletions of keys and values, ';' comments.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/image/registry_double.h"

namespace fernwick::image {

// A malformed file; what() names the file and the line.
class RegFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `name` is used in error messages only.
void LoadRegText(RegistryDouble& registry, std::string_view bytes, const std::string& name);
void LoadRegFile(RegistryDouble& registry, const std::filesystem::path& file);

}  // namespace fernwick::image
