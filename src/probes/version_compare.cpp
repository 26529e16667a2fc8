#include "probes/version_compare.h"

#include <array>

#include "common/conversions.h"
#include "probes/procedure_trap.h"

namespace fernwick::probes {
namespace {

// Mid(text, start, count) with a 1-based start; count npos means the rest.
std::string Mid(const std::string& text, std::size_t start, std::size_t count = std::string::npos) {
  return start - 1 >= text.size() ? std::string() : text.substr(start - 1, count);
}

// The 1-based position of the first "." at or after `start`; 0 when none.
std::size_t FindDot(const std::string& text, std::size_t start) {
  const std::size_t found = text.find('.', start - 1);
  return found == std::string::npos ? 0 : found + 1;
}

}  // namespace

std::string VersionCompare::CompareVersions(const std::string& first, const std::string& second) {
  std::string result = "UNDETERMINED";
  first_ = FirstSeperator(first);
  second_ = SecondSeperator(second);
  const std::array<std::int16_t, 4> a{first_.iField1, first_.iField2, first_.iField3, first_.iField4};
  const std::array<std::int16_t, 4> b{second_.iField1, second_.iField2, second_.iField3, second_.iField4};
  result = "EQUAL";
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) {
      result = a[i] > b[i] ? "GREATER" : "LESSER";
      break;
    }
  }
  return result;
}

VersionFields VersionCompare::FirstSeperator(const std::string& version) {
  return Separate(version, "FirstSeperator");
}

VersionFields VersionCompare::SecondSeperator(const std::string& version) {
  return Separate(version, "SecondSeperator");
}

VersionFields VersionCompare::Separate(const std::string& version, const char* procedure) {
  ProcedureTrap trap(boxes_, "(error):", std::string(" in procedure ") + procedure + " of Module VersionCompare");
  VersionFields fields;
  const std::size_t p1 = FindDot(version, 1);
  if (p1 == 0) {
    trap.Run([&] { fields.iField1 = CInt(version); });
    return fields;
  }
  trap.Run([&] { fields.iField1 = CInt(Mid(version, 1, p1 - 1)); });
  const std::size_t p2 = FindDot(version, p1 + 1);
  if (p2 == 0) {
    trap.Run([&] { fields.iField2 = CInt(Mid(version, p1 + 1)); });
    return fields;
  }
  trap.Run([&] { fields.iField2 = CInt(Mid(version, p1 + 1, p2 - p1 - 1)); });
  const std::size_t p3 = FindDot(version, p2 + 1);
  if (p3 == 0) {
    trap.Run([&] { fields.iField3 = CInt(Mid(version, p2 + 1)); });
    return fields;
  }
  trap.Run([&] { fields.iField3 = CInt(Mid(version, p2 + 1, p3 - p2 - 1)); });
  // Further dots stay in the last field: "1.2.3.4.9" reads 4.9 there.
  trap.Run([&] { fields.iField4 = CInt(Mid(version, p3 + 1)); });
  return fields;
}

}  // namespace fernwick::probes
