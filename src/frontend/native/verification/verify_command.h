#pragma once
// `fernwick --verify VoxtraInfo.cab`: every entry of the cabinet against
// its manifest, the manifest against the cabinet, and the cabinet against
// the digest file beside it when there is one (docs/manifest.md).
#include <filesystem>
#include <string>
#include <vector>

#include "packaging/manifest_check.h"

namespace fernwick::native {

// Whether the command line asks for a verification.
bool AsksForVerification(const std::vector<std::string>& args);
// Runs it; `args` are the arguments after the program's name. Prints one
// line per problem and a verdict on standard output; returns 0 whole, 6
// whole with lost parts recorded, 2 damaged, tampered, no manifest, or bad
// arguments.
int VerifyCommand(const std::vector<std::string>& args);

// The verification of one cabinet file, its lines and exit code.
packaging::Verification VerifyCabinet(const std::filesystem::path& cabinet);

}  // namespace fernwick::native
