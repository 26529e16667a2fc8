#pragma once
// Cabinets written with cabinet.dll's FCI, MSZIP, on Windows.
#include "platform/win32/windows_api.h"

#include <string>

#include "cabmaker/cabinet_plan.h"

namespace fernwick::cabmaker {

// Opens a source file for reading, letting others go on reading, writing
// and deleting it: a file another program still holds open for writing is
// packed as it stands. INVALID_HANDLE_VALUE when it cannot be opened.
HANDLE OpenSourceFile(const std::string& path);

// Writes the plan's cabinet at `cabinetPath` (relative to the current
// folder or absolute), one cabinet folder per planned folder, with FCI's
// temporary files beside it as "<cabinetPath>1", "<cabinetPath>2", ...
// Empty when it worked, else why not, with `failedSource` set to the
// planned source that failed, when one did. FCI packs what it reads of a
// source and records that size, so a file that grows or shrinks meanwhile
// is packed as read and never shifts the files after it.
std::string WriteCabinetWithFci(const CabinetPlan& plan, const std::string& cabinetPath, std::string& failedSource);

}  // namespace fernwick::cabmaker
