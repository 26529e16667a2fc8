#pragma once
// SHA-256 (FIPS 180-4), small and portable: the manifest's digests are the
// same on every Windows the programs run on, with no reliance on which
// cryptographic providers a server has.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace fernwick {

class Sha256 {
 public:
  Sha256();
  void Add(std::string_view bytes);
  // The digest of everything added, as 64 lower-case hex digits; the object
  // is spent afterwards.
  std::string HexDigest();

 private:
  void Block(const unsigned char* block);

  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> pending_{};
  std::size_t pendingSize_ = 0;
  std::uint64_t total_ = 0;
};

// The digest of `bytes` in one call.
std::string Sha256Hex(std::string_view bytes);

}  // namespace fernwick
