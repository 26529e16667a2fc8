#pragma once
// The server image a VoxtraInfo.cab carries (ServerImage.cab inside it, see
// docs/server-image-in-the-cab.md), unpacked into a private temporary folder
// for the image reader; the folder goes with the object, or with the
// process on a signal or an uncaught exception. Only a capture is taken: an
// image that is not one could run a database script of its own.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "frontend/native/cabinet_image/removal_on_exit.h"

namespace fernwick::native {

// The cabinet or its image cannot be read; what() says why.
class CabinetImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CabinetImage {
 public:
  explicit CabinetImage(const std::filesystem::path& cabinet);
  ~CabinetImage();
  CabinetImage(const CabinetImage&) = delete;
  CabinetImage& operator=(const CabinetImage&) = delete;

  const std::filesystem::path& Folder() const { return removal_.Folder(); }

 private:
  RemovalOnExit removal_;  // made first: it takes the signals before the folder is made
};

// Far above any image (they stay below 256 KB), far below harm: the bytes
// of the wanted files of a cabinet read into memory at most.
inline constexpr std::uint64_t kImageReadLimit = 256ull << 20;

// A new folder only this user may enter, in the temporary folder, named
// PREFIX-XXXXXX; throws CabinetImageError when it cannot be made.
std::filesystem::path MakePrivateFolder(std::string_view prefix);

// The most address space a process that reads a customer's CAB may take
// (4 GB unless told otherwise): a forged CAB then ends in "out of memory",
// not in a desk that swaps. Not under the address sanitizer, whose shadow
// memory alone passes any such limit.
inline constexpr std::uint64_t kCustomerCabMemoryLimit = 4096ull << 20;
void LimitMemoryForCustomerCab(std::uint64_t bytes = kCustomerCabMemoryLimit);

// Runs a command's `work` in a new private folder PREFIX-XXXXXX that goes
// with it, or with the process on a signal. An error that escapes it is one
// line "fernwick: FLAG: what" on standard error and `failureCode`.
int InPrivateFolder(std::string_view prefix, std::string_view flag, int failureCode,
                    const std::function<int(const std::filesystem::path&)>& work);

// Unpacks ServerImage.cab's bytes into `folder`, which exists, each file
// under HoldRemoval() (a signal removes the folder between two files); throws
// CabinetImageError for a cabinet that cannot be read, a name outside the
// folder, or an image that is no capture.
void UnpackImageCabinet(std::string_view imageCabinet, const std::filesystem::path& folder);

// Where a file stored in ServerImage.cab as `name` lands below the image
// folder: its "\" (or "/") separate folders, an ANSI name becomes the UTF-8
// host name the image reader expects. None for a name that would leave the
// folder or names no file (empty, "..", ".", a drive or root).
std::optional<std::filesystem::path> ImageEntryPath(std::string_view name, bool utf8Name);

}  // namespace fernwick::native
