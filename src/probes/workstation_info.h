#pragma once
// WorkStationInfo: the computer's network name and domain, the operating
// system version as the network layer reports it, and the logged-on user.
// Filled on creation on the Windows NT family only; elsewhere everything
// stays empty and 0.
#include <cstdint>
#include <string>

#include "platform/workstation.h"

namespace fernwick {

class WorkStationInfo {
 public:
  explicit WorkStationInfo(platform::Workstation& workstation);

  const std::string& ComputerName() const { return computerName_; }
  const std::string& Domain() const { return domain_; }
  const std::string& LanRoot() const { return lanRoot_; }
  std::int32_t LoggedOnUsers() const { return loggedOnUsers_; }
  std::int32_t PlatformId() const { return platformId_; }
  std::int32_t VerMajor() const { return verMajor_; }
  std::int32_t VerMinor() const { return verMinor_; }
  const std::string& LogonDomain() const { return logonDomain_; }
  const std::string& LogonServer() const { return logonServer_; }
  const std::string& OtherDomains() const { return otherDomains_; }
  const std::string& UserName() const { return userName_; }

  // Rereads all values (nothing happens off the NT family). A call of the
  // network layer that fails leaves its own members as they were.
  void Refresh();

 private:
  platform::Workstation& workstation_;
  bool isNt_ = false;

  std::int32_t platformId_ = 0;
  std::string computerName_;
  std::string domain_;
  std::int32_t verMajor_ = 0;
  std::int32_t verMinor_ = 0;
  std::string lanRoot_;
  std::int32_t loggedOnUsers_ = 0;
  std::string userName_;
  std::string logonDomain_;
  std::string otherDomains_;
  std::string logonServer_;
};

}  // namespace fernwick
