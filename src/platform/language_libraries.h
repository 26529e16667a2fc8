#pragma once
// What the language choice needs from the system: the user's language, the
// files beside the program, and language libraries loaded as data files
// (resource-only DLLs that carry the windows' texts).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fernwick::platform {

class LanguageLibraries {
 public:
  virtual ~LanguageLibraries() = default;
  // GetUserDefaultLangID.
  virtual std::uint16_t UserDefaultLangID() = 0;
  // The program file's name without folder and extension ("Fernwick").
  virtual std::string ProgramName() = 0;
  // Names of the files (not folders) in `folder`, in the order the file
  // system lists them.
  virtual std::vector<std::string> FileNames(const std::string& folder) = 0;
  // LoadLibraryExW with "do not resolve references, load as data file" (3);
  // 0 when the library cannot be loaded.
  virtual std::uintptr_t LoadAsDataFile(const std::string& path) = 0;
  virtual void Free(std::uintptr_t library) = 0;
  // String `id` of the library's string table as UTF-8; nullopt when it
  // has none.
  virtual std::optional<std::string> LoadText(std::uintptr_t library, unsigned id) = 0;
};

}  // namespace fernwick::platform
