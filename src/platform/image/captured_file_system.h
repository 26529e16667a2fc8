#pragma once
// The files of an image with recorded answers. The image's folders hold
// what exists; answers.txt says what is known not to exist, which folders
// are listed completely (a listing names its files, which need no file in
// the image unless their contents or dates were read), which files'
// contents are there, and drive figures [drives] cannot state. In a `strict` (captured) image a question
// the recording cannot answer is "not captured"; what the program itself
// writes is answered from the output as in any image.
#include <string>
#include <unordered_map>

#include "platform/image/image_file_system.h"
#include "platform/image/recorded_answers.h"

namespace fernwick::image {

class CapturedFileSystem : public ImageFileSystem {
 public:
  CapturedFileSystem(std::filesystem::path imageRoot, std::filesystem::path overlayRoot, std::string currentFolder,
                     ImageFileFacts facts, const RecordedAnswers& answers, bool strict)
      : ImageFileSystem(std::move(imageRoot), std::move(overlayRoot), std::move(currentFolder), std::move(facts)),
        answers_(answers),
        strict_(strict) {}

  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::vector<std::string> SubFolderNames(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  std::optional<platform::FolderListing> ListFolder(const std::string& path) override;
  std::optional<platform::LocalTime> FileLastModified(const std::string& path) override;
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string& driveName) override;

 private:
  std::string Key(const std::string& path);
  // What the program or the batch files it starts write is theirs.
  bool Ours(const std::string& path);
  bool Recorded(const char* kind, const std::string& path);
  // Whether the image knows that nothing of the kind is at the path.
  bool KnownAbsent(const char* kind, const std::string& path);
  // Whether a listing of the file's folder names it as a file.
  bool ListedFile(const std::string& path);
  // Stops a strict replay unless `known`.
  void Require(bool known, const std::string& question) const;
  // The contents of `path`, which a capture holds as those of `source`.
  std::optional<std::string> SharedContents(const std::string& path, const std::string& source);

  // The upper-cased names of a recorded listing -> the place of each (its
  // first), made when the listing is first used; folders listed alike share
  // their names, and so their index.
  using ListingIndex = std::unordered_map<std::string, std::size_t>;
  const ListingIndex& IndexOf(const NameList& names);
  // Names in the order the folder's listing was recorded in; names it did
  // not have (the program's own files) follow in their own order.
  void Reorder(std::vector<std::string>& names, const std::map<std::string, std::shared_ptr<const NameList>>& orders,
               const std::string& key);

  const RecordedAnswers& answers_;
  bool strict_;
  std::unordered_map<const NameList*, ListingIndex> listingIndexes_;
};

}  // namespace fernwick::image
