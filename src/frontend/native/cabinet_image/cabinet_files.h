#pragma once
// The files of a cabinet, read into memory with libgcab.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::native {

struct CabinetFile {
  std::string name;       // as stored: folders separated by "\"
  bool utf8Name = false;  // else the name is in the ANSI code page (1252)
  std::string bytes;
};

struct CabinetFiles {
  std::vector<CabinetFile> files;  // the wanted ones, in the cabinet's order
  std::string error;               // empty when the cabinet was read
};

// Which files to read (by their stored name); the others are skipped.
using WantedFile = std::function<bool(const std::string& name)>;

// At most `limit` bytes of wanted files (as the cabinet states their sizes)
// are read; a cabinet that wants more is refused, so a forged cabinet
// cannot exhaust the memory.
CabinetFiles ReadCabinetBytes(std::string_view cabinet, const WantedFile& wanted, std::uint64_t limit);
CabinetFiles ReadCabinetFile(const std::filesystem::path& cabinet, const WantedFile& wanted, std::uint64_t limit);

}  // namespace fernwick::native
