#pragma once
// The names of a folder as one listing gave them, in order, its files
// first, held in one buffer. A listing is held once however many folders
// were listed alike (each language folder of a prompt tree): the recorder
// shares it between them and between the copies of a capture.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::recording {

class CapturedListing {
 public:
  CapturedListing(const std::vector<std::string>& files, const std::vector<std::string>& folders);

  // How many names there are; the first Files() of them are files.
  std::size_t Size() const { return ends_.size(); }
  std::size_t Files() const { return files_; }
  std::string_view Name(std::size_t index) const;
  // Every name followed by a NUL, in order: two listings name the same
  // when this and Files() are the same.
  std::string_view Text() const { return text_; }
  // The first file of the listing whose name upper-cased is `upper`; empty
  // when it names no such file.
  std::string_view FileNamed(std::string_view upper) const;

 private:
  std::size_t files_;
  std::string text_;
  std::vector<std::uint32_t> ends_;          // where each name ends in text_ (its NUL)
  std::vector<std::uint32_t> filesByUpper_;  // the files by upper-cased name, then by position
};

}  // namespace fernwick::recording
