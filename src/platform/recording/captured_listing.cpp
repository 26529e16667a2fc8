#include "platform/recording/captured_listing.h"

#include <algorithm>

#include "common/text.h"

namespace fernwick::recording {
namespace {

// Compares as the upper-cased texts compare.
int CompareUpper(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(AsciiUpper(a[i]));
    const auto y = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

}  // namespace

CapturedListing::CapturedListing(const std::vector<std::string>& files, const std::vector<std::string>& folders)
    : files_(files.size()) {
  std::size_t bytes = 0;
  for (const auto* names : {&files, &folders}) {
    for (const std::string& name : *names) bytes += name.size() + 1;
  }
  text_.reserve(bytes);
  ends_.reserve(files.size() + folders.size());
  for (const auto* names : {&files, &folders}) {
    for (const std::string& name : *names) {
      text_ += name;
      ends_.push_back(static_cast<std::uint32_t>(text_.size()));
      text_.push_back('\0');
    }
  }
  filesByUpper_.resize(files_);
  for (std::size_t i = 0; i < files_; ++i) filesByUpper_[i] = static_cast<std::uint32_t>(i);
  std::stable_sort(filesByUpper_.begin(), filesByUpper_.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return CompareUpper(Name(a), Name(b)) < 0; });
}

std::string_view CapturedListing::Name(std::size_t index) const {
  const std::size_t start = index == 0 ? 0 : ends_[index - 1] + 1;
  return std::string_view(text_).substr(start, ends_[index] - start);
}

std::string_view CapturedListing::FileNamed(std::string_view upper) const {
  const auto first = std::lower_bound(
      filesByUpper_.begin(), filesByUpper_.end(), upper,
      [&](std::uint32_t index, std::string_view wanted) { return CompareUpper(Name(index), wanted) < 0; });
  if (first == filesByUpper_.end() || CompareUpper(Name(*first), upper) != 0) return {};
  return Name(*first);
}

}  // namespace fernwick::recording
