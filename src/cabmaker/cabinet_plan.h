#pragma once
// What goes into one cabinet, folder by folder, once every source has been
// found and measured.
#include <cstdint>
#include <string>
#include <vector>

#include "cabmaker/directive_file.h"

namespace fernwick::cabmaker {

// A cabinet folder holds at most this many uncompressed bytes (the format's
// limit, 0x7FFF8000: just under 2 GB).
inline constexpr std::uint64_t kFolderLimit = 0x7FFF8000;

struct PlannedFile {
  std::string source;
  std::string destination;
  std::uint64_t size = 0;
};

struct CabinetPlan {
  bool compress = true;
  std::vector<std::vector<PlannedFile>> folders;
};

// Splits the directive folders so that none exceeds `folderLimit`; sizes[i]
// belongs to the i-th file of the directives in order. Fails (empty plan,
// `tooLarge` names the file) when one file alone is over the limit.
CabinetPlan PlanCabinet(const Directives& directives, const std::vector<std::uint64_t>& sizes, std::string& tooLarge,
                        std::uint64_t folderLimit = kFolderLimit);

// The by-products: a short report of the run and the list of what was
// placed where.
std::string ReportText(const CabinetPlan& plan, const std::string& cabinetName, std::uint64_t cabinetSize);
std::string InfText(const CabinetPlan& plan, const std::string& cabinetName);

}  // namespace fernwick::cabmaker
