#pragma once
// `fernwick --compare OLD NEW [--html FILE] [--all] [--different-servers]`:
// what changed between two CABs (or server images) of one server.
#include <string>
#include <vector>

namespace fernwick::native {

inline constexpr int kCompareSame = 0;      // no difference that matters
inline constexpr int kCompareDiffers = 1;   // differences
inline constexpr int kCompareBadInput = 2;  // bad arguments or bad input

// Whether the command line asks for a comparison.
bool AsksForComparison(const std::vector<std::string>& args);
// Runs it; `args` are the arguments after the program's name. Prints on
// standard output, errors on standard error; returns the exit code.
int CompareCommand(const std::vector<std::string>& args);

}  // namespace fernwick::native
