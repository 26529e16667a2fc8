#pragma once
// `fernwick --verify`: a cabinet's entries against its manifest, and the
// manifest against the cabinet.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fernwick::packaging {

// One entry of the cabinet as read: its stored name, size and SHA-256.
struct CabinetEntry {
  std::string name;
  std::uint64_t size = 0;
  std::string sha256;
};

// Exit codes of `fernwick --verify`.
inline constexpr int kVerifiedWhole = 0;
inline constexpr int kVerifiedWithLostParts = 6;
inline constexpr int kVerifyFailed = 2;

struct Verification {
  int exitCode = kVerifyFailed;
  std::vector<std::string> lines;  // one per problem, then the verdict
};

// `entries` are every entry of the cabinet, the manifest's own included
// (its text is `manifest`, none when the cabinet holds no Manifest.csv).
// Whole (0): every entry the manifest lists as this run's is there with its
// size and digest, nothing else is, no part was lost. With lost parts (6):
// the same, and the manifest records parts that were lost. Anything else
// (2): an entry missing, added, changed or truncated, a lost part present
// after all, a name twice, a manifest that is damaged or none at all.
Verification VerifyAgainstManifest(const std::string& cabinetName, const std::vector<CabinetEntry>& entries,
                                   const std::optional<std::string>& manifest);

}  // namespace fernwick::packaging
