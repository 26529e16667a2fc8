#pragma once
// What a server image states, kind by kind, as named facts with a text to
// compare: registry values, files, file dates, file versions, database
// answers and program outputs. The native command reads an image folder
// into them (the readers of its text files are here, so that they stay
// portable and fuzzed); the comparison names the facts added, removed or
// changed.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::comparison {

enum class ImageFactKind : std::uint8_t { RegistryValue, File, FileDate, FileVersion, DatabaseAnswer, ProgramOutput };
inline constexpr std::size_t kImageFactKinds = 6;

// The words a change of a fact of `kind` is told with: "registry value".
std::string_view ImageFactName(ImageFactKind kind);

struct ImageFact {
  std::string name;   // as the image writes it: a key path and value name, a Windows path, a SQL text
  std::string value;  // the text compared; may hold several lines
};

// Facts of one image, by kind; names compared without regard to letter
// case, as Windows does for keys and paths. A forged image cannot make
// more than kMaxFactsPerKind of one kind: past that `cut` is set.
class ImageFacts {
 public:
  static constexpr std::size_t kMaxFactsPerKind = 500000;

  void Add(ImageFactKind kind, std::string name, std::string value);
  const std::map<std::string, ImageFact>& Of(ImageFactKind kind) const {
    return facts_[static_cast<std::size_t>(kind)];
  }
  bool Cut() const { return cut_; }

 private:
  std::array<std::map<std::string, ImageFact>, kImageFactKinds> facts_;
  bool cut_ = false;
};

// A registry export (REGEDIT4 or version 5.00, as text; UTF-16 converted
// by the caller): each value under "KEY\name" ("(Default)" for @), its data
// as the export writes it, continuation lines joined.
void ReadRegistryExport(std::string_view text, ImageFacts& facts);
// A capture's answers.txt: the files its listings name, and each database
// answer (query, server connection, statement) with its columns, rows or
// error.
void ReadRecordedAnswers(std::string_view text, ImageFacts& facts);
// A capture's versions.txt: each file's FileVersion string, else its fixed
// version words.
void ReadVersionStatements(std::string_view text, ImageFacts& facts);
// image.ini's [file dates].
void ReadFileDates(std::string_view imageIni, ImageFacts& facts);

// A field of answers.txt or versions.txt with its escapes undone.
std::string Unescaped(std::string_view field);

struct ImageFactChange {
  ImageFactKind kind;
  std::string name;
  bool inOld = false, inNew = false;
  std::string oldValue, newValue;
};

// In the order of the kinds, then of the names.
std::vector<ImageFactChange> CompareImageFacts(const ImageFacts& oldFacts, const ImageFacts& newFacts);

}  // namespace fernwick::comparison
