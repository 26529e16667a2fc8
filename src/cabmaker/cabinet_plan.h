#pragma once
// What goes into one cabinet, folder by folder, once every source has been
// found and measured.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cabmaker/directive_file.h"

namespace fernwick::cabmaker {

// A cabinet folder holds at most this many uncompressed bytes (the format's
// limit, 0x7FFF8000: just under 2 GB).
inline constexpr std::uint64_t kFolderLimit = 0x7FFF8000;
// Optional files are packed while the whole cabinet holds at most this many
// uncompressed bytes (2 GB less 1 MB): the cabinet then stays within the
// format's 2 GB even for data that do not compress, which MSZIP stores with
// a few bytes more per 32 KB block.
inline constexpr std::uint64_t kCabinetLimit = 0x7FF00000;
// A cabinet counts its files in 16 bits.
inline constexpr std::uint64_t kFileLimit = 65535;

struct PlannedFile {
  std::string source;
  std::string destination;
  std::uint64_t size = 0;
  int line = 0;  // in the directive file
  bool optional = false;
  std::string named;  // as the directive line names it
};

// An optional file the cabinet has no room for, and why.
struct LeftOut {
  PlannedFile file;
  std::string reason;
};

struct CabinetPlan {
  bool compress = true;
  std::vector<std::vector<PlannedFile>> folders;
  std::vector<LeftOut> leftOut;
};

// Splits the directive folders so that none exceeds `folderLimit`; sizes[i]
// belongs to the i-th file of the directives in order. An optional file
// over `folderLimit`, or one that would take the cabinet over
// `cabinetLimit` (the required files counted first, then the optional ones
// in order), is left out. Fails (empty plan, `tooLarge` names the file)
// when a required file alone is over `folderLimit`.
CabinetPlan PlanCabinet(const Directives& directives, const std::vector<std::uint64_t>& sizes, std::string& tooLarge,
                        std::uint64_t folderLimit = kFolderLimit, std::uint64_t cabinetLimit = kCabinetLimit);

// How many files the plan packs.
std::uint64_t FileCount(const CabinetPlan& plan);

// Takes the optional file `source` out of the plan (and its folder, when it
// was the last one there) and gives it back; nullopt when no optional file
// of that name is planned.
std::optional<PlannedFile> LeaveOutOptional(CabinetPlan& plan, const std::string& source);

// The by-products: a short report of the run and the list of what was
// placed where.
std::string ReportText(const CabinetPlan& plan, const std::string& cabinetName, std::uint64_t cabinetSize);
std::string InfText(const CabinetPlan& plan, const std::string& cabinetName);

}  // namespace fernwick::cabmaker
