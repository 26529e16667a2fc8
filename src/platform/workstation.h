#pragma once
// Workstation facts as the network layer and GetVersionExA report them;
// strings already converted to the ANSI code page.
#include <cstdint>
#include <string>

namespace fernwick::platform {

inline constexpr std::uint32_t kVerPlatformWin32Nt = 2;

struct WkstaInfo102 {
  std::uint32_t platformId = 0;
  std::string computerName;
  std::string langroup;
  std::uint32_t verMajor = 0;
  std::uint32_t verMinor = 0;
  std::string lanRoot;
  std::uint32_t loggedOnUsers = 0;
};

struct WkstaUserInfo1 {
  std::string userName;
  std::string logonDomain;
  std::string otherDomains;
  std::string logonServer;
};

class Workstation {
 public:
  virtual ~Workstation() = default;
  // dwPlatformId of GetVersionExA.
  virtual std::uint32_t OsPlatformId() = 0;
  // NetWkstaGetInfo(NULL, 102): 0 on success, else the NET_API_STATUS.
  virtual std::uint32_t GetInfo102(WkstaInfo102& info) = 0;
  // NetWkstaUserGetInfo(NULL, 1).
  virtual std::uint32_t GetUserInfo1(WkstaUserInfo1& info) = 0;
};

}  // namespace fernwick::platform
