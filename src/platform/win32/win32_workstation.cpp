#include "platform/win32/win32_workstation.h"

#include "platform/win32/windows_api.h"
#include <lm.h>

#include <string>

namespace fernwick::win32 {
namespace {

// Owns a buffer that netapi32 allocated.
class NetApiBuffer {
 public:
  NetApiBuffer() = default;
  NetApiBuffer(const NetApiBuffer&) = delete;
  NetApiBuffer& operator=(const NetApiBuffer&) = delete;
  ~NetApiBuffer() {
    if (buffer_ != nullptr) NetApiBufferFree(buffer_);
  }
  LPBYTE* Receive() { return &buffer_; }
  template <typename Record>
  const Record* As() const {
    return reinterpret_cast<const Record*>(buffer_);
  }

 private:
  LPBYTE buffer_ = nullptr;
};

// The network layer's UTF-16 texts in the ANSI code page; a null pointer
// reads as an empty text.
std::string Ansi(LPCWSTR text) {
  if (text == nullptr) return {};
  const int length = lstrlenW(text);
  if (length == 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

}  // namespace

std::uint32_t Win32Workstation::OsPlatformId() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  static_assert(sizeof(OSVERSIONINFOA) == 148);
  if (!GetVersionExA(&version)) return 0;
  return version.dwPlatformId;
}

std::uint32_t Win32Workstation::GetInfo102(platform::WkstaInfo102& info) {
  NetApiBuffer buffer;
  const NET_API_STATUS status = NetWkstaGetInfo(nullptr, 102, buffer.Receive());
  if (status != NERR_Success) return status;
  const auto* record = buffer.As<WKSTA_INFO_102>();
  info.platformId = record->wki102_platform_id;
  info.computerName = Ansi(record->wki102_computername);
  info.langroup = Ansi(record->wki102_langroup);
  info.verMajor = record->wki102_ver_major;
  info.verMinor = record->wki102_ver_minor;
  info.lanRoot = Ansi(record->wki102_lanroot);
  info.loggedOnUsers = record->wki102_logged_on_users;
  return 0;
}

std::uint32_t Win32Workstation::GetUserInfo1(platform::WkstaUserInfo1& info) {
  NetApiBuffer buffer;
  const NET_API_STATUS status = NetWkstaUserGetInfo(nullptr, 1, buffer.Receive());
  if (status != NERR_Success) return status;
  const auto* record = buffer.As<WKSTA_USER_INFO_1>();
  info.userName = Ansi(record->wkui1_username);
  info.logonDomain = Ansi(record->wkui1_logon_domain);
  info.otherDomains = Ansi(record->wkui1_oth_domains);
  info.logonServer = Ansi(record->wkui1_logon_server);
  return 0;
}

}  // namespace fernwick::win32
