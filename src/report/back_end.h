#pragma once
// The message store back end, settled by the environment section and read by
// the directory connector and messaging sections of the same gathering.
#include <cstdint>
#include <string>

namespace fernwick::report {

inline constexpr std::int16_t kBackEndDomino = 1;
inline constexpr std::int16_t kBackEndExchange55 = 2;
inline constexpr std::int16_t kBackEndActiveDirectory = 3;  // Exchange 2000 or later

struct BackEnd {
  std::int16_t BackEndType = 0;
  bool bPartnerIsExchange2007 = false;
  std::string strPartnerExchange;  // "Exchange 5.5", "Exchange 2000", "Exchange 2003"; empty on Domino
};

}  // namespace fernwick::report
