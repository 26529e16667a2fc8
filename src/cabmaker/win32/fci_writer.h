#pragma once
// Cabinets written with cabinet.dll's FCI, MSZIP, on Windows.
#include <string>

#include "cabmaker/cabinet_plan.h"

namespace fernwick::cabmaker {

// Writes the plan's cabinet at `cabinetPath` (relative to the current
// folder or absolute), one cabinet folder per planned folder. Empty when
// it worked, else why not.
std::string WriteCabinetWithFci(const CabinetPlan& plan, const std::string& cabinetPath);

}  // namespace fernwick::cabmaker
