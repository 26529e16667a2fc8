#pragma once
// One side of `fernwick --compare`: a VoxtraInfo.cab or a server image
// folder, read into what the comparison compares. A CAB's server image is
// unpacked below a private folder and gathered again with today's rules,
// which gives the report and its findings alike for CABs of every Fernwick;
// without an image (or where it does not gather again), the packed report
// and Findings.csv stand in.
#include <filesystem>
#include <stdexcept>

#include "comparison/comparison.h"

namespace fernwick::native {

// The input cannot be compared at all (a corrupt or hostile CAB, a folder
// that is no image): what() says why, in one line.
class ComparedInputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `scratch` is a private folder of this side's own, removed by the caller.
comparison::ComparedSide ReadComparedInput(const std::filesystem::path& input, const std::filesystem::path& scratch);

}  // namespace fernwick::native
