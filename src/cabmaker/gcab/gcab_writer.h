#pragma once
// Cabinets written with libgcab (MSZIP through zlib), on Linux.
#include <functional>
#include <string>

#include "cabmaker/cabinet_plan.h"

namespace fernwick::cabmaker {

// Writes the plan's cabinet to the host file `cabinetPath`; each planned
// source is read from hostPath(source). Empty when it worked, else why not,
// with `failedSource` set to the planned source that failed, when one did.
// The cabinet has one folder (all libgcab writes): more than 2 GB of files,
// or more than 65535 files, are refused.
//
// Each file is packed with exactly the size the plan measured: libgcab
// records the sizes it finds when a file is added and reads on to the end
// when it packs, so a file that changes in between would shift every later
// file of the cabinet. Each source is therefore first copied, its planned
// length only, to a snapshot beside the cabinet ("<cabinetPath>1",
// "<cabinetPath>2", ...; removed again before this returns), and libgcab
// packs the snapshots. A source that has grown is packed as it was
// measured (its first planned bytes), with a line through `note`; one that
// has become shorter fails (`failedSource`), so that an optional one is
// left out.
std::string WriteCabinetWithGcab(const CabinetPlan& plan, const std::string& cabinetPath,
                                 const std::function<std::string(const std::string&)>& hostPath,
                                 std::string& failedSource,
                                 const std::function<void(const std::string&)>& note = nullptr);

}  // namespace fernwick::cabmaker
