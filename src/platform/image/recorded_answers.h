#pragma once
// answers.txt of a server image: the answers the other files cannot state
// (see docs/server-image.md, "Captured images"), in the line syntax of
// platform/recording/capture_lines.h. Paths and names are kept upper-cased.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/config_database.h"
#include "platform/file_system.h"
#include "platform/image/path_set.h"

namespace fernwick::image {

// What answers.txt may hold: an image past one of these is refused with a
// line naming it (docs/server-image-captures.md, "Untrusted captures").
inline constexpr std::size_t kMostAnswerLineBytes = 16u << 20;  // bytes of one line
inline constexpr std::size_t kMostAnswerLines = 4u << 20;       // kept lines of the file
inline constexpr std::size_t kMostRowsPerQuery = 1u << 20;      // rows of one answer
// Answers other than rows and paths known absent, unreadable or undated
// (registry answers, listings, queries, ...): a capture holds a few thousand.
inline constexpr std::size_t kMostOtherAnswers = 1u << 16;

// A malformed answers.txt; what() names the line.
class RecordedAnswersError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Names kept in one buffer: a list of many short names costs little more
// than its text (a registry key's subkeys, a folder's listing).
class NameList {
 public:
  void Add(std::string_view name) {
    text_.append(name);
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  }
  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(begin, ends_[i] - begin);
  }
  std::vector<std::string> Strings() const {
    std::vector<std::string> names;
    names.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) names.emplace_back((*this)[i]);
    return names;
  }

 private:
  std::string text_;
  std::vector<std::uint32_t> ends_;
};

// A record set, or the error the query failed with.
struct RecordedResult {
  std::optional<platform::RecordSet> records;
  long errorNumber = 0;
  std::string errorText;
};

struct RecordedServer {
  std::string connection;
  std::optional<RecordedResult> openError;
  std::vector<std::pair<std::string, RecordedResult>> executed;  // SQL text -> answer
};

struct RecordedAnswers {
  std::map<std::string, long> keyCodes;                               // key path
  std::map<std::string, long> valueCodes;                             // key path "\n" value name
  std::map<std::string, std::pair<bool, NameList>> subkeys;           // complete, names
  std::map<std::string, PathSet> paths;                               // kind ("nofile", "listed", ...) -> paths
  std::map<std::string, std::optional<platform::DriveSpace>> drives;  // drive name -> figures
  std::map<std::uint32_t, std::string> languageNames;
  std::vector<std::pair<std::pair<std::string, std::string>, RecordedResult>> queries;  // (connection, SQL)
  std::vector<RecordedServer> servers;
  std::map<std::string, std::uint32_t> pageOpenErrors;  // URL as asked
  std::map<std::string, std::uint32_t> pageReadErrors;
  std::map<std::string, std::uint32_t> failedStarts;  // command line as given
  std::map<std::string, std::uint32_t> waits;         // command line -> the wait's answer
  std::set<std::string> unended;                      // command lines ending failed for
  // folder -> names as listed; folders listed alike share their names
  std::map<std::string, std::shared_ptr<const NameList>> fileOrder, folderOrder;
  std::map<std::string, std::string> contentSources;  // file -> the file whose bytes it has

  bool Has(const std::string& kind, const std::string& upperPath) const;
};

// Throws RecordedAnswersError naming the first malformed line.
RecordedAnswers ParseRecordedAnswers(std::string_view text);

}  // namespace fernwick::image
