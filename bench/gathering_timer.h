#pragma once
// Runs one whole gathering stretch by stretch on a platform and measures
// the wall time of each stretch, for the gathering benchmarks.
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace fernwick::bench {

// (stretch, milliseconds) in report order; the report itself is discarded.
std::vector<std::pair<std::string, double>> TimeGathering(platform::Platform& platform);

// Prints the median of each stretch over the runs and of their sum.
void PrintMedians(const std::string& title, const std::vector<std::vector<std::pair<std::string, double>>>& runs);

}  // namespace fernwick::bench
