// A prompt tree captures small: of each index (Prompt.ini) only the lines
// its headers can come from, and the listings and indexes that each
// language repeats held once. The capture replays every answer alike.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "native/odbc/scratch_folder.h"
#include "native/peak_heap.h"
#include "platform/image/not_captured.h"
#include "platform/image/recorded_answers.h"
#include "platform/image/server_image.h"
#include "platform/recording/kept_file_contents.h"
#include "platform/recording/recorder.h"
#include "report/prompt_index_file.h"

namespace fernwick::recording {
namespace {

// The headers the prompt check finds in an index, or the error it raises.
std::string Headers(const std::string& bytes) {
  try {
    std::string out;
    for (const auto& name : report::PromptNames(report::PromptIndexLines(bytes))) out += name + "|";
    return out;
  } catch (const std::exception& e) {
    return std::string("error: ") + e.what();
  }
}

TEST(CapturePromptTree, AnIndexKeepsTheLinesItsHeadersComeFrom) {
  const struct {
    std::string index, kept;
  } cases[]{
      {"; a comment\r\n[Hello]\r\nDescription=greeting [1]\r\n[Bye]\r\n",
       "[Hello]\r\nDescription=greeting [1]\r\n[Bye]\r\n"},
      {"[Last]", "[Last]"},                       // one line: read as UTF-16, kept whole
      {"", ""},                                   // empty: an error, kept whole
      {"Description=x\r\nLength=4\r\n", "\r\n"},  // no header
      {"[Good]\r\nx\r\nBad]\r\n[also (TEXT ONLY)]\r\n", "[Good]\r\n[also (TEXT ONLY)]\r\n"},
      {"[Good]\r\n]Bad[\r\n[Never]\r\n", "[Good]\r\n]Bad[\r\n[Never]\r\n"},  // the faulty header stays
      {std::string("\xFF\xFE[\0A\0]\0\r\0\n\0", 12), std::string("\xFF\xFE[\0A\0]\0\r\0\n\0", 12)},
      {"[A]\nDescription=lf only\n", "[A]\nDescription=lf only\n"},
  };
  for (const auto& c : cases) {
    const std::string kept = KeptFileContents("C:\\Voxtra\\Localize\\Prompts\\ENU\\PROMPT.INI", c.index);
    EXPECT_EQ(kept, c.kept) << c.index;
    EXPECT_EQ(Headers(kept), Headers(c.index)) << c.index;
    EXPECT_EQ(PromptIndexKept(kept), kept) << c.index;  // a capture of a capture keeps the same
  }
  EXPECT_EQ(KeptFileContents("C:\\Voxtra\\Prompt.ini.bak", "a\r\nb\r\n"), "a\r\nb\r\n");
}

// Two languages alike: one listing and one index are written, the other
// folder names them, and the replay answers both folders alike.
TEST(CapturePromptTree, FoldersAndIndexesAlikeAreHeldOnce) {
  testing::ScratchFolder scratch;
  const auto root = scratch.Path() / "image";
  std::filesystem::create_directories(root / "registry");
  std::ofstream(root / "image.ini") << "[clock]\nNow=2026-12-08 10:00:00\n";
  std::ofstream(root / "registry" / "server.reg") << "REGEDIT4\n";
  for (const char* language : {"DEU", "ENU", "FRA"}) {
    const auto folder = root / "drives" / "C" / "Prompts" / language;
    std::filesystem::create_directories(folder / "System");
    for (int i = 0; i < 50; ++i) std::ofstream(folder / ("p" + std::to_string(i) + ".wav"));
    std::ofstream(folder / "Prompt.ini", std::ios::binary) << "[p1]\r\nDescription=" << language << " text\r\n[p2]\r\n";
  }
  std::ofstream(root / "drives" / "C" / "Prompts" / "FRA" / "extra.wav");
  image::ServerImage source(root, scratch.Path() / "out", "fernwick");
  Recorder recorder(source.Platform());
  auto& files = recorder.Platform().files;
  for (const char* language : {"DEU", "ENU", "FRA"}) {
    const std::string folder = std::string("C:\\Prompts\\") + language;
    ASSERT_TRUE(files.ListFolder(folder));
    ASSERT_TRUE(files.ReadWholeFile(folder + "\\Prompt.ini"));
  }
  ASSERT_EQ(recorder.WriteImage("C:\\Capture\\"), "");
  const auto written = *source.Files().HostPath("C:\\Capture");
  std::ifstream in(written / "answers.txt");
  const std::string answers((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(answers.find("samelisting\tC:\\\\Prompts\\\\ENU\tC:\\\\Prompts\\\\DEU\n"), std::string::npos) << answers;
  EXPECT_EQ(answers.find("samelisting\tC:\\\\Prompts\\\\FRA"), std::string::npos) << answers;  // one more file
  EXPECT_NE(answers.find("content\tC:\\\\Prompts\\\\FRA\\\\Prompt.ini\tC:\\\\Prompts\\\\DEU\\\\Prompt.ini\n"),
            std::string::npos)
      << answers;
  EXPECT_EQ(std::filesystem::file_size(written / "drives" / "C" / "Prompts" / "ENU" / "Prompt.ini"), 0u);

  image::ServerImage replay(written, scratch.Path() / "out2", "fernwick");
  ASSERT_TRUE(replay.Captured());
  auto& again = replay.Platform().files;
  for (const char* language : {"DEU", "ENU", "FRA"}) {
    const std::string folder = std::string("C:\\Prompts\\") + language;
    EXPECT_EQ(again.ListFolder(folder)->files, files.ListFolder(folder)->files) << language;
    EXPECT_EQ(again.ListFolder(folder)->folders, files.ListFolder(folder)->folders) << language;
    EXPECT_EQ(again.ReadWholeFile(folder + "\\Prompt.ini"), "[p1]\r\n[p2]\r\n") << language;
  }
}

// A forged capture gains nothing from the references: one that names no
// listing before it or a file whose contents are themselves borrowed is
// refused, and many references to one big listing share its names.
TEST(CapturePromptTree, ForgedReferencesAreRefusedOrShared) {
  EXPECT_THROW(image::ParseRecordedAnswers("samelisting\tC:\\\\A\tC:\\\\B\n"), image::RecordedAnswersError);
  EXPECT_THROW(image::ParseRecordedAnswers("content\tC:\\\\A\tC:\\\\a\n"), image::RecordedAnswersError);
  std::string text = "listing\tC:\\\\Big\t20000";
  for (int i = 0; i < 20000; ++i) text += "\tprompt_number_" + std::to_string(i) + ".wav";
  text += "\n";
  for (int i = 0; i < 20000; ++i) text += "samelisting\tC:\\\\F" + std::to_string(i) + "\tC:\\\\Big\n";
  const long long peak = testing::PeakHeapGrowth([&] { image::ParseRecordedAnswers(text); });
  if (peak >= 0) {  // each reference costs its own entries, never a copy of the 400 KB of names
    EXPECT_LT(peak, static_cast<long long>(text.size()) * 10);
  }

  testing::ScratchFolder scratch;
  const auto root = scratch.Path() / "image";
  std::filesystem::create_directories(root / "drives" / "C" / "A");
  std::filesystem::create_directories(root / "registry");
  std::ofstream(root / "registry" / "capture.reg") << "REGEDIT4\n";
  std::ofstream(root / "image.ini") << "[capture]\nRecordedBy=Fernwick 2.0.4\n";
  std::ofstream(root / "drives" / "C" / "A" / "one.txt");
  std::ofstream(root / "drives" / "C" / "A" / "two.txt");
  std::ofstream(root / "drives" / "C" / "A" / "three.txt") << "bytes";
  std::ofstream(root / "answers.txt")
      << "content\tC:\\\\A\\\\three.txt\ncontent\tC:\\\\A\\\\two.txt\tC:\\\\A\\\\three.txt\n"
         "content\tC:\\\\A\\\\one.txt\tC:\\\\A\\\\two.txt\n";
  image::ServerImage replay(root, scratch.Path() / "out", "fernwick");
  EXPECT_EQ(replay.Platform().files.ReadWholeFile("C:\\A\\two.txt"), "bytes");
  EXPECT_THROW(replay.Platform().files.ReadWholeFile("C:\\A\\one.txt"), image::NotCaptured);
}

}  // namespace
}  // namespace fernwick::recording
