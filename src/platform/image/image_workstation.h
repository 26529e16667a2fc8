#pragma once
// Workstation facts of a server image: what GetVersionExA, NetWkstaGetInfo
// (level 102) and NetWkstaUserGetInfo (level 1) answer on that server.
// docs/server-image-workstation.md describes the [workstation] section of
// image.ini that these come from.
#include <cstdint>

#include "platform/image/ini_file.h"
#include "platform/workstation.h"

namespace fernwick::image {

// The code a failing call answers: the Workstation service is not started.
inline constexpr std::uint32_t kNerrWkstaNotStarted = 2138;

struct WorkstationFacts {
  std::uint32_t osPlatformId = platform::kVerPlatformWin32Nt;
  platform::WkstaInfo102 info102;
  bool info102Fails = false;
  platform::WkstaUserInfo1 userInfo1;
  bool userInfo1Fails = false;
  // The code a failing call answers (WorkstationInfoError, UserInfoError);
  // the Fails keys stand for kNerrWkstaNotStarted.
  std::uint32_t info102Error = kNerrWkstaNotStarted;
  std::uint32_t userInfo1Error = kNerrWkstaNotStarted;
  // A captured image answers only the calls it states; another call is
  // "not captured".
  bool strict = false;
  bool statesOs = false, states102 = false, statesUser = false;
  // The first of the level-102 facts the gathering reads (ComputerName,
  // Domain, VerMajor, VerMinor) that the section does not state; a captured
  // image whose level-102 call succeeded must state all of them.
  std::string missing102;
};

// Reads the [workstation] section; missing keys keep the defaults above
// (a Windows NT machine whose calls succeed with empty and 0 answers).
// A number that does not read as one throws std::runtime_error naming the key.
WorkstationFacts ReadWorkstationFacts(const IniFile& facts);

class ImageWorkstation : public platform::Workstation {
 public:
  explicit ImageWorkstation(WorkstationFacts facts);

  std::uint32_t OsPlatformId() override;
  std::uint32_t GetInfo102(platform::WkstaInfo102& info) override;
  std::uint32_t GetUserInfo1(platform::WkstaUserInfo1& info) override;

 private:
  WorkstationFacts facts_;
};

}  // namespace fernwick::image
