#include "report/service_pack_tables.h"

namespace fernwick::report {

std::optional<MarkedText> ExchangeServicePackText(std::int32_t build, const std::string& emsmdb32Path) {
  switch (build) {
    case 2448: return ": SP 2";
    case 2650: return ": SP 3";
    case 2653: return ": SP 4";
    case 2655: return ": post SP4 ";
    case 4712: return ": SP 1";
    case 5762: return ": SP 2";
    case 6212: return ": SP3 Beta";
    case 6249: return ": SP 3";
    case 1960:
    case 4417: return std::nullopt;
    default: break;
  }
  if (build > 6944)
    return MarkedText(FindingId::MapiEmsmdb32Missing, " : *** WARNING *** " + emsmdb32Path + " not found");
  return std::nullopt;
}

std::string SqlServicePackText(long build) {
  switch (build) {
    case 194: return ": No SP";
    case 384: return ": SP 1";
    case 474: return ": SP 1 + HF 1";
    case 534: return ": SP 2";
    case 558: return ": SP 2 + HF 1";
    case 665: return ": SP 2 + Security Rollup 1";
    case 760: return ": SP 3";
    case 2039: return ": SP4";
    case 2047: return ": SP1";
    case 3042: return ": SP2";
    case 4035: return ": SP3";
    default: return ": unknown SP";
  }
}

}  // namespace fernwick::report
