#pragma once
// Host folders read into indexes of their entries, each folder on its first
// lookup: finding a name then costs the same in a folder of ten entries and
// in one of a hundred thousand, and asks the host nothing. Names are found
// as Windows finds them: an exact match first, else one that differs only
// in case (the host's UTF-8 names compared in their ANSI spelling).
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace fernwick::image {

// The ANSI name a host file goes by: image folders name their files in
// UTF-8, as the Wine tests' folders do.
std::string WindowsNameOf(const std::filesystem::path& host);

class HostFolderIndex {
 public:
  // How an index learns that its folder changed.
  enum class Changes {
    // Only through Forget: the folders belong to whoever holds the index
    // (the overlay, which only its file system writes), so an index, a
    // folder found missing included, holds until that owner forgets it.
    kForgotten,
    // The folders are not expected to change (an image); should they (a
    // test that moves a file between two runs), a name the index lacks is
    // looked for again once the folder's time has changed since it was
    // read, and a name it holds that is gone is found gone by whoever opens
    // or stats it. The time is looked at once per question (see
    // NextQuestion): the lookups that make up one answer, and a capture's
    // listed names without their files take several, cost one look.
    kRecheckMissing,
  };

  explicit HostFolderIndex(Changes changes) : changes_(changes) {}

  // The host path of the entry of `folder` (a host path without a
  // trailing slash) named `name`, or nullopt when the folder or the entry
  // does not exist. A name that is no plain entry name ("..", a name with a
  // slash) is looked up on the host itself. Paths are plain strings here:
  // a lookup splits no path into its components.
  std::optional<std::string> Find(const std::string& folder, const std::string& name);
  // The host path of `root`/`drive`/`names`..., each name found as Find
  // finds it, or nullopt. A walk that starts as the last one did (the
  // files of one folder asked about in turn) takes the folders found then
  // without looking them up again.
  std::optional<std::string> Locate(const std::string& root, char drive, const std::vector<std::string>& names);
  // Forgets what was read of `folder`: call after changing its entries.
  void Forget(const std::string& folder);
  // Starts a new question: a name missing from an index has its folder's
  // time looked at again.
  void NextQuestion() { ++question_; }
  // How many times a folder was read from the host (the cost that the
  // indexes save).
  std::size_t FoldersRead() const { return foldersRead_; }

 private:
  struct Index {
    std::filesystem::file_time_type written;              // its time when read
    std::size_t looked = 0;                               // the question its time was last looked at in
    std::unordered_map<std::string, std::string> folded;  // upper-cased Windows name -> the first host name
    // The host names that `folded` does not give back when asked for
    // exactly: a name differing only in case from an earlier one, and a
    // name whose Windows spelling is not its host one. Most folders have
    // none, so an index holds each name about once.
    std::unordered_set<std::string> unfolded;
  };
  const Index& Read(const std::string& folder, std::optional<std::filesystem::file_time_type> written);

  static bool PlainName(const std::string& name);

  // The last walk: its names (the drive letter first) and the host path
  // each led to; emptied whenever an index that a walk may have passed
  // through is read again or forgotten.
  struct Walk {
    std::string root;
    std::vector<std::string> names;
    std::vector<std::string> hosts;
  };

  Changes changes_;
  Walk walk_;
  std::unordered_map<std::string, Index> folders_;  // host folder -> its index
  std::size_t foldersRead_ = 0;
  std::size_t question_ = 0;
};

}  // namespace fernwick::image
