#include "platform/win32/win32_registry.h"

#include "platform/win32/windows_api.h"

namespace fernwick::win32 {
namespace {

// Hive constants are 32-bit values that Windows sign-extends into handles.
HKEY ToHkey(platform::RegKey key) {
  if (key == platform::kHkeyLocalMachine) return HKEY_LOCAL_MACHINE;
  if (key == platform::kHkeyClassesRoot) return HKEY_CLASSES_ROOT;
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

}  // namespace

long Win32Registry::OpenKey(platform::RegKey parent, const std::string& subKey, platform::RegKey& opened) {
  HKEY key = nullptr;
  const LONG rc = RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, KEY_READ, &key);
  if (rc == ERROR_SUCCESS) opened = static_cast<platform::RegKey>(reinterpret_cast<ULONG_PTR>(key));
  return rc;
}

long Win32Registry::QueryValue(platform::RegKey key, const std::string& valueName, std::uint32_t& type,
                               std::uint8_t* data, std::uint32_t& size) {
  DWORD storedType = 0;
  DWORD byteCount = size;
  const LONG rc = RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &storedType, data, &byteCount);
  type = storedType;
  size = byteCount;
  return rc;
}

long Win32Registry::EnumKey(platform::RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  return RegEnumKeyA(ToHkey(key), index, name, nameSize);
}

long Win32Registry::CloseKey(platform::RegKey key) {
  return RegCloseKey(ToHkey(key));
}

}  // namespace fernwick::win32
