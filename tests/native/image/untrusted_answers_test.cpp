// answers.txt, versions.txt and image.ini come from a customer's cabinet:
// they are read one line at a time, in memory proportional to what they
// hold, and a line that is joined and split again keeps its fields.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "native/odbc/scratch_folder.h"
#include "native/peak_heap.h"
#include "native/time_bound.h"
#include "platform/image/ini_file.h"
#include "platform/image/recorded_answers.h"
#include "platform/image/server_image.h"
#include "platform/image/version_statements.h"
#include "platform/recording/capture_lines.h"

namespace fernwick::image {
namespace {

using namespace std::chrono_literals;
using recording::CaptureField;

std::string Repeated(const std::string& piece, std::size_t bytes) {
  std::string text;
  text.reserve(bytes + piece.size());
  while (text.size() < bytes) text += piece;
  return text;
}

// The error a reader gives, or "" when it reads the text.
template <typename Read>
std::string ErrorOf(Read&& read) {
  try {
    read();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

constexpr std::size_t kBig = 8u << 20;  // below the ceiling of a line

// A peak of -1 was not measured (no sanitizers' allocator).
void ExpectPeakBelow(long long peak, long long bound) {
  if (peak < 0) return;
  EXPECT_LT(peak, bound);
}

TEST(UntrustedAnswers, ABadFirstLineIsReportedBeforeTheRestIsSplit) {
  const std::string text = "bogus\n" + Repeated("subkeys\tK\tcomplete\ta\ta\ta\ta\n", kBig);
  std::string error;
  const long long peak = testing::PeakHeapGrowth([&] { error = ErrorOf([&] { ParseRecordedAnswers(text); }); });
  EXPECT_EQ(error, "answers.txt:1: unknown answer \"bogus\"");
  ExpectPeakBelow(peak, 1 << 20);
}

// The last query of the file has no answer: the error names its line,
// after every line has been read.
TEST(UntrustedAnswers, AQueryWithoutAnswerAtTheEndNamesItsLine) {
  EXPECT_EQ(ErrorOf([] { ParseRecordedAnswers("nofile\tC:\\\\Gone.txt\nquery\tC\tSELECT 1\n"); }),
            "answers.txt:2: query without columns or error");
}

TEST(UntrustedAnswers, ALineOfEmptyNamesStopsAtTheFirst) {
  const std::string text = "subkeys\tHKEY_LOCAL_MACHINE\\\\K\tcomplete" + std::string(kBig, '\t') + "\n";
  std::string error;
  const long long peak = testing::PeakHeapGrowth([&] { error = ErrorOf([&] { ParseRecordedAnswers(text); }); });
  EXPECT_EQ(error, "answers.txt:1: field 4 is an empty name");
  ExpectPeakBelow(peak, 1 << 20);
}

TEST(UntrustedAnswers, ManyLinesTakeMemoryForWhatTheyHoldOnly) {
  // The same answer again and again holds one answer.
  const std::string text = Repeated("nofile\tC:\\\\Gone.txt\n", kBig);
  const long long peak = testing::PeakHeapGrowth([&] {
    const RecordedAnswers answers = ParseRecordedAnswers(text);
    EXPECT_TRUE(answers.Has("nofile", "C:\\GONE.TXT"));
  });
  ExpectPeakBelow(peak, 1 << 20);
}

// The crafted answers of a hostile capture, each held in at most four times
// the file (the file itself included) and a small constant: rows of empty
// or NULL fields, rows only counted, and paths known absent.
TEST(UntrustedAnswers, EachKindOfAnswerHoldsAtMostFourTimesItsFile) {
  constexpr std::size_t kSize = 3u << 20;
  std::string columns = "query\tC\tSELECT *\ncolumns";
  for (int i = 0; i < 4096; ++i) columns += "\tc" + std::to_string(i);
  columns += "\n";
  std::string nullRow = "row";
  for (int i = 0; i < 4096; ++i) nullRow += "\t\\N";
  std::string absent;
  for (int i = 0; absent.size() < kSize; ++i) absent += "nofile\tC:\\\\P\\\\f" + std::to_string(1000000 + i) + "\n";
  const struct {
    const char* name;
    std::string text;
    long rows;
  } cases[] = {
      {"empty fields", columns + Repeated("row" + std::string(4096, '\t') + "\n", kSize), -1},
      {"NULL fields", columns + Repeated(nullRow + "\n", kSize), -1},
      {"counted rows", "query\tC\tSELECT 1\ncolumns\n" + Repeated("row\n", kSize), kSize / 4},
      {"absent files", absent, 0},
  };
  for (const auto& c : cases) {
    const long long peak = testing::PeakHeapGrowth([&] {
      const RecordedAnswers answers = ParseRecordedAnswers(c.text);
      if (c.rows != 0) {
        ASSERT_EQ(answers.queries.size(), 1u) << c.name;
        platform::RecordSet records = *answers.queries[0].second.records;  // shares the rows
        if (c.rows > 0) {
          EXPECT_EQ(records.RecordCount(), c.rows) << c.name;
        } else {
          records.MoveFirst();
          const bool empty = c.name == std::string("empty fields");
          EXPECT_EQ(records.Field(4095), empty ? platform::FieldValue("") : platform::FieldValue()) << c.name;
        }
      }
    });
    ExpectPeakBelow(peak, 3 * static_cast<long long>(c.text.size()) + (2 << 20));
  }
}

// Past a ceiling the file is refused at the line that passes it, before
// the memory grows: rows of one answer, answers other than rows and paths,
// stated version files, a line's bytes.
TEST(UntrustedAnswers, ACeilingPassedRefusesTheFileWithItsLine) {
  std::string keys;
  for (std::size_t i = 0; i <= kMostOtherAnswers; ++i)
    keys += "key\tHKEY_LOCAL_MACHINE\\K" + std::to_string(i) + "\t2\n";
  std::string files;
  for (std::size_t i = 0; i <= kMostStatedFiles; ++i) files += "C:\\\\f" + std::to_string(i) + ".dll\tsize\t1\n";
  const std::string rows = "query\tC\tSELECT 1\ncolumns\n" + Repeated("row\n", 4 * (kMostRowsPerQuery + 1));
  const auto lineOf = [](std::size_t number) { return std::to_string(number) + ": "; };
  EXPECT_EQ(ErrorOf([&] { ParseRecordedAnswers(rows); }),
            "answers.txt:" + lineOf(kMostRowsPerQuery + 3) + "more than 1048576 rows");
  EXPECT_EQ(ErrorOf([&] { ParseRecordedAnswers(keys); }),
            "answers.txt:" + lineOf(kMostOtherAnswers + 1) + "more than 65536 answers other than rows and paths");
  EXPECT_EQ(ErrorOf([&] { ParseVersionStatements(files); }),
            "versions.txt:" + lineOf(kMostStatedFiles + 1) + "more than 4096 files");
  const std::string longLine = "nofile\tC:\\\\" + std::string(kMostAnswerLineBytes, 'x') + "\n";
  EXPECT_EQ(ErrorOf([&] { ParseRecordedAnswers(longLine); }), "answers.txt:1: a line longer than 16 MB");
  const std::string longPath = "nofile\tC:\\\\" + std::string(PathSet::kLongestPath, 'x') + "\n";
  EXPECT_EQ(ErrorOf([&] { ParseRecordedAnswers(longPath); }), "answers.txt:1: a path longer than 32767 characters");
}

TEST(UntrustedAnswers, ALongTranslationListTakesItsNumbersOnly) {
  const std::string text = "C:\\\\a.dll\ttranslations\t" + Repeated("0409 ", kBig) + "\n";
  const long long peak = testing::PeakHeapGrowth([&] {
    const auto stated = ParseVersionStatements(text);
    EXPECT_EQ(stated.at("C:\\A.DLL").translations->size(), (kBig + 4) / 5);
  });
  // A number is 4 bytes for the 5 of its text (and a vector's growth).
  ExpectPeakBelow(peak, 2 * static_cast<long long>(kBig));
}

TEST(UntrustedAnswers, AVersionStatementWithTooManyFieldsIsRefusedUnsplit) {
  const std::string text = "C:\\\\a.dll\tsize\t1" + std::string(kBig, '\t') + "\n";
  std::string error;
  const long long peak = testing::PeakHeapGrowth([&] { error = ErrorOf([&] { ParseVersionStatements(text); }); });
  EXPECT_EQ(error, "versions.txt:1: expected PATH KIND ANSWER");
  ExpectPeakBelow(peak, 1 << 20);
}

TEST(UntrustedAnswers, ALongSectionNameIsKeptOnceNotPerKey) {
  std::string text = "[" + std::string(64 << 10, 's') + "]\n";
  for (int i = 0; i < 20000; ++i) text += "k" + std::to_string(i) + "=v\n";
  const long long peak = testing::PeakHeapGrowth([&] {
    const IniFile ini = IniFile::Parse(text);
    EXPECT_EQ(ini.Get(std::string(64 << 10, 'S'), "k19999"), "v");
  });
  ExpectPeakBelow(peak, 10 * static_cast<long long>(text.size()));
}

TEST(UntrustedAnswers, ALongListingIsOrderedInLinearTime) {
  testing::ScratchFolder scratch;
  const auto root = scratch.Path() / "image";
  std::filesystem::create_directories(root / "registry");
  std::filesystem::create_directories(root / "drives" / "C" / "Big");
  std::ofstream(root / "image.ini") << "[capture]\nRecordedBy=Fernwick 2.0.4\n";
  std::ofstream(root / "registry" / "capture.reg") << "REGEDIT4\n";
  // Names in the reverse of NTFS order, as no image lists them by itself.
  std::string line = "listing\tC:\\\\Big\t200000";
  for (int i = 199999; i >= 0; --i) line += "\tf" + std::to_string(1000000 + i);
  std::ofstream(root / "answers.txt") << line << "\n";
  testing::FinishesWithin(60s, [&] {
    ServerImage image(root, scratch.Path() / "out", "fernwick");
    const auto listing = image.Platform().files.ListFolder("C:\\Big");
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->files.size(), 200000u);
    EXPECT_EQ(listing->files.front(), "f1199999");
    EXPECT_EQ(listing->files.back(), "f1000000");
    EXPECT_TRUE(image.Platform().files.FileExists("C:\\Big\\F1123456"));
    EXPECT_FALSE(image.Platform().files.FileExists("C:\\Big\\f2000000"));
  });
}

// A capture with one folder of many files in the image, and many names
// asked about that it does not hold: each name is found by its case-folded
// name in the folder's index, made once, not by reading the folder again.
TEST(UntrustedAnswers, AFolderOfManyFilesAnswersEachNameWithoutReadingItAgain) {
  testing::ScratchFolder scratch;
  const auto root = scratch.Path() / "image";
  std::filesystem::create_directories(root / "registry");
  std::filesystem::create_directories(root / "drives" / "C" / "Big");
  std::ofstream(root / "image.ini") << "[capture]\nRecordedBy=Fernwick 2.0.4\n";
  std::ofstream(root / "registry" / "capture.reg") << "REGEDIT4\n";
  constexpr int kFiles = 6000;
  std::string line = "listing\tC:\\\\Big\t" + std::to_string(kFiles);
  for (int i = 0; i < kFiles; ++i) {
    std::ofstream(root / "drives" / "C" / "Big" / ("h" + std::to_string(i) + ".wav"));
    line += "\th" + std::to_string(i) + ".wav";
  }
  std::ofstream(root / "answers.txt") << line << "\n";
  testing::FinishesWithin(60s, [&] {
    ServerImage image(root, scratch.Path() / "out", "fernwick");
    auto& files = image.Platform().files;
    for (int i = 0; i < kFiles; ++i) {
      ASSERT_TRUE(files.FileExists("C:\\BIG\\H" + std::to_string(i) + ".WAV")) << i;
      ASSERT_FALSE(files.FileExists("C:\\Big\\q" + std::to_string(i) + ".wav")) << i;
    }
  });
}

// Folders listed alike (a `samelisting` line each) share the names of one
// listing, and so its index: asking about every name of every folder
// costs one index, not one per folder.
TEST(UntrustedAnswers, FoldersListedAlikeShareOneIndexOfTheirNames) {
  testing::ScratchFolder scratch;
  const auto root = scratch.Path() / "image";
  std::filesystem::create_directories(root / "registry");
  std::ofstream(root / "image.ini") << "[capture]\nRecordedBy=Fernwick 2.0.4\n";
  std::ofstream(root / "registry" / "capture.reg") << "REGEDIT4\n";
  constexpr int kFolders = 40, kNames = 5000;
  std::string answers = "listing\tC:\\\\P\\\\L0\t" + std::to_string(kNames);
  for (int n = 0; n < kNames; ++n) answers += "\tprompt_with_a_long_name_" + std::to_string(n) + ".wav";
  answers += "\n";
  for (int f = 0; f < kFolders; ++f) {
    std::filesystem::create_directories(root / "drives" / "C" / "P" / ("L" + std::to_string(f)));
    if (f > 0) answers += "samelisting\tC:\\\\P\\\\L" + std::to_string(f) + "\tC:\\\\P\\\\L0\n";
  }
  std::ofstream(root / "answers.txt") << answers;
  ServerImage image(root, scratch.Path() / "out", "fernwick");
  auto& files = image.Platform().files;
  const long long peak = testing::PeakHeapGrowth([&] {
    for (int f = 0; f < kFolders; f += 3) {
      for (int n = 0; n < kNames; n += 25) {
        const std::string name =
            "C:\\P\\L" + std::to_string(f) + "\\prompt_with_a_long_name_" + std::to_string(n) + ".wav";
        ASSERT_TRUE(files.FileExists(name)) << name;
      }
    }
  });
  // One index of 5,000 names; one per folder took fourteen times that.
  ExpectPeakBelow(peak, 4 << 20);
}

TEST(UntrustedAnswers, JoiningAndSplittingALineKeepsItsFields) {
  const std::vector<std::vector<CaptureField>> cases{
      {";", "a"},
      {";comment-like", std::nullopt},
      {"\\;", ""},
      {"a\tb", "c\\d", "\r\n"},
      {"\\N", std::nullopt, "N"},
      {"", "", ""},
      {std::nullopt},
      {"x;", ";y"},
  };
  for (const auto& fields : cases) {
    const std::string line = recording::JoinCaptureLine(fields);
    const auto again = recording::SplitCaptureLines(line);
    ASSERT_EQ(again.size(), 1u) << line;
    EXPECT_EQ(again[0].fields, fields) << line;
  }
  // The two-byte line "\;" is one field, ";", and written back as it was.
  const auto read = recording::SplitCaptureLines("\\;");
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(recording::JoinCaptureLine(read[0].fields), "\\;\n");
}

}  // namespace
}  // namespace fernwick::image
