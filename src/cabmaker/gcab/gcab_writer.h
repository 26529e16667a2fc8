#pragma once
// Cabinets written with libgcab (MSZIP through zlib), on Linux.
#include <functional>
#include <string>

#include "cabmaker/cabinet_plan.h"

namespace fernwick::cabmaker {

// Writes the plan's cabinet to the host file `cabinetPath`; each planned
// source is read from hostPath(source). Empty when it worked, else why not,
// with `failedSource` set to the planned source that failed, when one did.
// The cabinet has one folder (all libgcab writes): more than 2 GB of files
// are refused.
std::string WriteCabinetWithGcab(const CabinetPlan& plan, const std::string& cabinetPath,
                                 const std::function<std::string(const std::string&)>& hostPath,
                                 std::string& failedSource);

}  // namespace fernwick::cabmaker
