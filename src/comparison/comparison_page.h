#pragma once
// `fernwick --compare --html FILE`: the comparison as one page in the look
// of Summary.htm (HTML 4.01, UTF-8, no script).
#include <string>

#include "comparison/comparison.h"

namespace fernwick::comparison {

std::string ComparisonPage(const Comparison& comparison, const ComparedSide& oldSide, const ComparedSide& newSide);

}  // namespace fernwick::comparison
