#pragma once
// The four registry operations the program reads the registry through, with
// the Win32 result codes. Keys are always opened for reading only.
#include <cstdint>
#include <string>

namespace fernwick::platform {

// A hive constant or a key handle the implementation gave out.
using RegKey = std::uint64_t;

inline constexpr RegKey kHkeyClassesRoot = 0x80000000;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExA with KEY_READ (0x20019).
  virtual long OpenKey(RegKey parent, const std::string& subKey, RegKey& opened) = 0;
  // RegQueryValueExA: `size` holds the buffer size on entry and the data size
  // on return; on 234 the type and the needed size are still reported.
  virtual long QueryValue(RegKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                          std::uint32_t& size) = 0;
  // RegEnumKeyA: NUL-terminated name of the subkey at `index`.
  virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) = 0;
  virtual long CloseKey(RegKey key) = 0;
};

}  // namespace fernwick::platform
