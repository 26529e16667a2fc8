// Writing a capture never throws: a folder or file that cannot be written
// (below a file, a path too long) makes WriteImage name it and leaves no
// image.ini, and the recording stays whole. Each Go records afresh.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "native/odbc/scratch_folder.h"
#include "native/peak_heap.h"
#include "platform/image/ini_file.h"
#include "platform/image/not_captured.h"
#include "platform/image/reg_file.h"
#include "platform/image/server_image.h"
#include "platform/recording/capture_texts.h"
#include "platform/recording/gathering_programs.h"
#include "platform/recording/recorder.h"

namespace fernwick::recording {
namespace {

TEST(CaptureWrite, AFailedWriteIsNamedAndChangesNothingElse) {
  testing::ScratchFolder scratch;
  image::ServerImage image(std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples" / "exchange2003-42",
                           scratch.Path() / "out", "fernwick");
  Recorder recorder(image.Platform());
  ASSERT_TRUE(recorder.Platform().files.FileExists("C:\\WINDOWS\\system32\\MAPI32.dll"));
  const std::string longFolder = "C:\\" + std::string(250, 'x') + "\\";
  const struct {
    std::string folder;
    std::string reason;
  } cases[]{
      {"C:\\WINDOWS\\system32\\MAPI32.dll\\ServerImage\\", "cannot write C:\\WINDOWS\\system32\\MAPI32.dll"},
      {longFolder, "cannot write " + longFolder + "registry"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(recorder.WriteImage(c.folder), c.reason);
    EXPECT_FALSE(image.Files().FileExists(c.folder + "image.ini"));  // what was written is no image
  }
  EXPECT_EQ(recorder.WriteImage("C:\\ServerImage\\"), "");
  EXPECT_TRUE(image.Files().FileExists("C:\\ServerImage\\drives\\C\\WINDOWS\\system32\\MAPI32.dll"));
}

TEST(CaptureWrite, EachGoStartsAfreshButKeepsWhatTheStartUpRead) {
  testing::ScratchFolder scratch;
  image::ServerImage image(std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples" / "exchange2003-42",
                           scratch.Path() / "out", "fernwick");
  Recorder recorder(image.Platform());
  auto& files = recorder.Platform().files;
  files.FileExists("C:\\WINDOWS\\system32\\MAPI32.dll");  // the start-up
  recorder.Restart();
  files.FileExists("C:\\WINDOWS\\system32\\EMSMDB32.dll");  // the first Go
  recorder.Restart();
  ASSERT_EQ(recorder.WriteImage("C:\\Capture\\"), "");
  EXPECT_TRUE(image.Files().FileExists("C:\\Capture\\drives\\C\\WINDOWS\\system32\\MAPI32.dll"));
  EXPECT_FALSE(image.Files().FileExists("C:\\Capture\\drives\\C\\WINDOWS\\system32\\EMSMDB32.dll"));
}

// Every value comes back from the written export with its type and bytes.
TEST(CaptureWrite, RegistryValuesKeepTypeAndBytes) {
  using namespace std::string_literals;
  const std::vector<CapturedValue> values{
      {"text", 0, platform::kRegSz, "a \"b\" \\ c\0"s}, {"no end", 0, platform::kRegSz, "abc"s},
      {"lines", 0, platform::kRegSz, "a\r\nb\0"s},      {"multi", 0, platform::kRegMultiSz, "a\0b\0\0"s},
      {"expand", 0, platform::kRegExpandSz, "%x%\0"s},  {"dword", 0, platform::kRegDword, "\x2a\0\0\x80"s},
      {"short dword", 0, platform::kRegDword, "\x01"s}, {"binary", 0, platform::kRegBinary, "\0\xff"s},
      {"qword", 0, platform::kRegQword, "12345678"s},   {"", 0, platform::kRegNone, ""s},
  };
  Capture capture;
  CapturedKey& key = capture.keys["K"];
  key.path = "HKEY_LOCAL_MACHINE\\SOFTWARE\\K";
  key.openCode = 0;
  for (const CapturedValue& value : values) key.values[value.name] = value;
  image::RegistryDouble registry;
  image::LoadRegText(registry, RegistryText(capture), "capture.reg");
  platform::RegKey opened = 0;
  ASSERT_EQ(registry.OpenKey(platform::kHkeyLocalMachine, "SOFTWARE\\K", opened), 0);
  for (const CapturedValue& value : values) {
    std::uint8_t data[64] = {};
    std::uint32_t type = 99, size = sizeof data;
    ASSERT_EQ(registry.QueryValue(opened, value.name, type, data, size), 0) << value.name;
    EXPECT_EQ(type, value.type) << value.name;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), value.bytes) << value.name;
  }
}

// A folder's listing is one line of answers.txt: a name whose contents or
// date were never read gets no file of its own, and the capture replays
// every answer the gathering got.
TEST(CaptureWrite, AListingIsOneLineNotAFilePerName) {
  testing::ScratchFolder scratch;
  const auto root = scratch.Path() / "image";
  const auto prompts = root / "drives" / "C" / "Prompts";
  std::filesystem::create_directories(prompts / "ENU");
  std::filesystem::create_directories(root / "registry");
  std::ofstream(root / "image.ini") << "[clock]\nNow=2026-12-07 10:00:00\n";
  std::ofstream(root / "registry" / "server.reg") << "REGEDIT4\n";
  for (int i = 0; i < 2000; ++i) std::ofstream(prompts / ("p" + std::to_string(1000 + i) + ".wav"));
  std::ofstream(prompts / "Prompt.ini") << "[index]\n";
  image::ServerImage source(root, scratch.Path() / "out", "fernwick");
  Recorder recorder(source.Platform());
  auto& files = recorder.Platform().files;
  const auto listing = files.ListFolder("C:\\Prompts");
  ASSERT_TRUE(listing);
  ASSERT_EQ(listing->files.size(), 2001u);
  ASSERT_TRUE(files.ReadWholeFile("C:\\Prompts\\Prompt.ini"));
  ASSERT_TRUE(files.FileExists("C:\\Prompts\\p1500.wav"));
  ASSERT_FALSE(files.FileExists("C:\\Prompts\\ENU\\missing.wav"));
  ASSERT_EQ(recorder.WriteImage("C:\\Capture\\"), "");
  const auto written = *source.Files().HostPath("C:\\Capture");

  std::size_t count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(written)) count += entry.is_regular_file();
  EXPECT_LE(count, 6u);  // image.ini, answers.txt, capture.reg, Prompt.ini, ENU's .keep
  EXPECT_FALSE(std::filesystem::exists(written / "drives" / "C" / "Prompts" / "p1500.wav"));

  image::ServerImage replay(written, scratch.Path() / "out2", "fernwick");
  ASSERT_TRUE(replay.Captured());
  auto& again = replay.Platform().files;
  EXPECT_EQ(again.ListFolder("C:\\Prompts")->files, listing->files);
  EXPECT_EQ(again.ListFolder("C:\\Prompts")->folders, listing->folders);
  EXPECT_EQ(again.ReadWholeFile("C:\\Prompts\\Prompt.ini"), "[index]\n");
  EXPECT_TRUE(again.FileExists("C:\\Prompts\\P1999.WAV"));
  EXPECT_FALSE(again.FileExists("C:\\Prompts\\p9999.wav"));
  EXPECT_FALSE(again.FileExists("C:\\Prompts\\ENU\\missing.wav"));
  EXPECT_TRUE(again.FolderExists("C:\\Prompts\\ENU"));
  try {
    again.ReadWholeFile("C:\\Prompts\\p1000.wav");
    ADD_FAILURE() << "contents never read, yet answered";
  } catch (const image::NotCaptured& e) {
    EXPECT_EQ(e.Question(), "contents of file C:\\Prompts\\p1000.wav");
  }
}

// Recording holds little beside what the gathering itself holds: a file a
// listing named costs nothing of its own until something else is asked of
// it, and folders listed alike share one copy of their names.
TEST(CaptureWrite, RecordingATreeHoldsLittleMoreThanGatheringIt) {
  testing::ScratchFolder scratch;
  const auto root = scratch.Path() / "image";
  constexpr int kLanguages = 3, kPrompts = 700;
  for (int language = 0; language < kLanguages; ++language) {
    const auto folder = root / "drives" / "C" / "Prompts" / ("L" + std::to_string(language));
    std::filesystem::create_directories(folder);
    for (int i = 0; i < kPrompts; ++i) std::ofstream(folder / ("Prompt_" + std::to_string(i) + ".wav"));
  }
  std::filesystem::create_directories(root / "registry");
  std::ofstream(root / "image.ini") << "[clock]\nNow=2026-12-07 10:00:00\n";
  std::ofstream(root / "registry" / "server.reg") << "REGEDIT4\n";
  const auto gather = [](platform::FileSystem& files) {
    for (int language = 0; language < kLanguages; ++language) {
      const std::string folder = "C:\\Prompts\\L" + std::to_string(language);
      const auto listing = files.ListFolder(folder);
      ASSERT_TRUE(listing);
      for (const std::string& name : listing->files) ASSERT_TRUE(files.FileExists(folder + "\\" + name));
    }
  };
  image::ServerImage plainImage(root, scratch.Path() / "plain", "fernwick");
  const long long plain = testing::PeakHeapGrowth([&] { gather(plainImage.Platform().files); });
  image::ServerImage recordedImage(root, scratch.Path() / "recorded", "fernwick");
  Recorder recorder(recordedImage.Platform());
  const long long recorded = testing::PeakHeapGrowth([&] {
    gather(recorder.Platform().files);
    EXPECT_EQ(recorder.WriteImage("C:\\Capture\\"), "");
  });
  if (plain < 0) GTEST_SKIP() << "the heap is measured with the sanitizers' allocator only";
  EXPECT_LE(recorded, plain * 6 / 5 + 256 * 1024) << "gathering held " << plain;
  const auto answers = *recordedImage.Files().ReadWholeFile("C:\\Capture\\answers.txt");
  EXPECT_NE(answers.find("samelisting\tC:\\\\Prompts\\\\L1\tC:\\\\Prompts\\\\L0\n"), std::string::npos);
}

// A listed file asked about later is recorded as the listing spelled it,
// whatever the question's spelling, and what a question learnt before the
// listing stands.
TEST(CaptureWrite, AListedFileAskedAboutLaterKeepsTheListingsSpelling) {
  testing::ScratchFolder scratch;
  const auto root = scratch.Path() / "image";
  std::filesystem::create_directories(root / "drives" / "C" / "P");
  std::filesystem::create_directories(root / "registry");
  std::ofstream(root / "drives" / "C" / "P" / "Abc.wav");
  std::ofstream(root / "drives" / "C" / "P" / "Late.wav");
  std::ofstream(root / "image.ini")
      << "[clock]\nNow=2026-12-07 10:00:00\n[file dates]\nC:\\P\\Abc.wav=2026-01-02 03:04:05\n";
  std::ofstream(root / "registry" / "server.reg") << "REGEDIT4\n";
  image::ServerImage source(root, scratch.Path() / "out", "fernwick");
  Recorder recorder(source.Platform());
  auto& files = recorder.Platform().files;
  ASSERT_FALSE(files.FolderExists("C:\\P\\LATE.WAV"));  // before the listing
  ASSERT_TRUE(files.ListFolder("C:\\P"));
  ASSERT_TRUE(files.FileLastModified("c:\\p\\ABC.WAV"));
  ASSERT_FALSE(files.FolderExists("C:\\p\\abc.wav"));
  ASSERT_EQ(recorder.WriteImage("C:\\Capture\\"), "");
  const auto written = *source.Files().HostPath("C:\\Capture");
  const std::string ini = *source.Files().ReadWholeFile("C:\\Capture\\image.ini");
  EXPECT_NE(ini.find("C:\\P\\Abc.wav=2026-01-02 03:04:05\n"), std::string::npos) << ini;
  const std::string answers = *source.Files().ReadWholeFile("C:\\Capture\\answers.txt");
  EXPECT_NE(answers.find("nofolder\tC:\\\\P\\\\Abc.wav\n"), std::string::npos) << answers;
  EXPECT_NE(answers.find("nofolder\tC:\\\\P\\\\LATE.WAV\n"), std::string::npos) << answers;
  EXPECT_TRUE(std::filesystem::exists(written / "drives" / "C" / "P" / "Abc.wav"));  // its date was read
  EXPECT_FALSE(std::filesystem::exists(written / "drives" / "C" / "P" / "Late.wav"));
}

// The command line's switches are recorded; the program's name is not.
TEST(CaptureWrite, TheRunsSwitchesAreRecorded) {
  const struct {
    std::string commandLine, switches;
  } cases[]{
      {"\"C:\\Program Files\\Fernwick\\Fernwick.exe\" silent /SkipPromptCheck", "silent /SkipPromptCheck"},
      {"C:\\Fernwick\\Fernwick.exe   /debug  ", "/debug"},
      {"Fernwick.exe", ""},
      {"\"C:\\Fernwick\\Fernwick.exe\"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SwitchesOf(c.commandLine), c.switches) << c.commandLine;

  testing::ScratchFolder scratch;
  image::ServerImage image(std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples" / "exchange2003-42",
                           scratch.Path() / "out", "Fernwick.exe skippromptcheck");
  Recorder recorder(image.Platform());
  recorder.Platform().program.CommandLine();
  ASSERT_EQ(recorder.WriteImage("C:\\Capture\\"), "");
  EXPECT_EQ(image::IniFile::Parse(*image.Files().ReadWholeFile("C:\\Capture\\image.ini")).Get("capture", "Switches"),
            "skippromptcheck");
}

// Of a query's answer only the columns asked for and the fields read are
// kept: a row only counted carries no values.
TEST(CaptureWrite, OfAQueryOnlyTheFieldsReadAreKept) {
  testing::ScratchFolder scratch;
  image::ServerImage image(std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples" / "exchange2003-42",
                           scratch.Path() / "out", "fernwick");
  Recorder recorder(image.Platform());
  const std::string connection = "Driver={SQL Server};server=;database=VoxtraDb";
  auto& database = recorder.Platform().database;
  const platform::RecordSet counted = database.OpenQuery("select Alias, HomeServer from Subscriber", connection);
  ASSERT_GT(counted.RecordCount(), 1);
  platform::RecordSet read = database.OpenQuery("SELECT * FROM vw_ADDomain", connection);
  ASSERT_EQ(read.RecordCount(), 2);
  read.MoveFirst();
  const std::string domain = *read.Field("DomainName");
  ASSERT_EQ(recorder.WriteImage("C:\\Capture\\"), "");
  const std::string answers = *image.Files().ReadWholeFile("C:\\Capture\\answers.txt");
  std::string expected = "query\t" + connection + "\tselect Alias, HomeServer from Subscriber\ncolumns\n";
  for (long i = 0; i < counted.RecordCount(); ++i) expected += "row\n";
  EXPECT_NE(answers.find(expected), std::string::npos) << answers;
  EXPECT_NE(answers.find("SELECT * FROM vw_ADDomain\ncolumns\tDomainName\nrow\t" + domain + "\nrow\t\\N\n"),
            std::string::npos)
      << answers;
}

TEST(CaptureWrite, OfSystemInfoOnlyTheUptimeLineIsKept) {
  const struct {
    std::string output, kept;
  } cases[]{
      {"Host Name:                 VOXTRA01\r\nSystem Up Time:            1 Days\r\nOS Name: X\r\n",
       "System Up Time:            1 Days\r\n"},
      {"A\r\nsystem up time:  2 Days\r\n", "system up time:  2 Days\r\n"},
      {"A\nSystem Up Time: 3 Days\nB\n", "System Up Time: 3 Days\nB\n"},  // no CR LF: the rest of the text
      {"Host Name: VOXTRA01\r\n", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SystemUptimeLine(c.output), c.kept) << c.output;
}

}  // namespace
}  // namespace fernwick::recording
