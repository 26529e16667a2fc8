#include "probes/workstation_info.h"

namespace fernwick {
namespace {

// The network layer's numbers are 32-bit words that the properties hand out
// as signed 32-bit integers, bit for bit.
std::int32_t AsLong(std::uint32_t value) {
  return static_cast<std::int32_t>(value);
}

}  // namespace

WorkStationInfo::WorkStationInfo(platform::Workstation& workstation) : workstation_(workstation) {
  if (workstation_.OsPlatformId() == platform::kVerPlatformWin32Nt) {
    isNt_ = true;
    Refresh();
  }
}

void WorkStationInfo::Refresh() {
  if (!isNt_) return;

  platform::WkstaInfo102 info;
  if (workstation_.GetInfo102(info) == 0) {
    platformId_ = AsLong(info.platformId);
    computerName_ = info.computerName;
    domain_ = info.langroup;
    verMajor_ = AsLong(info.verMajor);
    verMinor_ = AsLong(info.verMinor);
    lanRoot_ = info.lanRoot;
    loggedOnUsers_ = AsLong(info.loggedOnUsers);
  }

  platform::WkstaUserInfo1 user;
  if (workstation_.GetUserInfo1(user) == 0) {
    userName_ = user.userName;
    logonDomain_ = user.logonDomain;
    otherDomains_ = user.otherDomains;
    logonServer_ = user.logonServer;
  }
}

}  // namespace fernwick
