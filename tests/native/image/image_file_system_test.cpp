// The image's and the output's folders are read into indexes once: what
// the program writes, makes or removes is seen at once, and asking about
// many names reads no folder again.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "native/odbc/scratch_folder.h"
#include "native/time_bound.h"
#include "platform/image/image_file_system.h"

namespace fernwick::image {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Folders {
  testing::ScratchFolder scratch;
  fs::path Image() const { return scratch.Path() / "image"; }
  fs::path Out() const { return scratch.Path() / "out"; }
};

// An output folder that an earlier run filled, and a run asking about each
// of its files in another spelling and about as many names it lacks: each
// folder on the way is read once, where every name the folder lacked was a
// read of the whole folder.
TEST(ImageFileSystem, AnOutputFolderOfManyFilesIsReadOnceForAllItsNames) {
  Folders folders;
  constexpr int kFiles = 3000;
  fs::create_directories(folders.Image() / "drives" / "C" / "Data");
  fs::create_directories(folders.Out() / "drives" / "C" / "Out");
  for (int i = 0; i < kFiles; ++i) std::ofstream(folders.Out() / "drives" / "C" / "Out" / ("r" + std::to_string(i)));
  testing::FinishesWithin(60s, [&] {
    ImageFileSystem files(folders.Image(), folders.Out(), "C:\\");
    for (int i = 0; i < kFiles; ++i) {
      ASSERT_TRUE(files.FileExists("C:\\OUT\\R" + std::to_string(i))) << i;
      ASSERT_FALSE(files.FileExists("C:\\Out\\q" + std::to_string(i))) << i;
      ASSERT_FALSE(files.FileExists("C:\\Data\\r" + std::to_string(i))) << i;
    }
    // drives and C of each root, C:\Out and C:\Data, and the missing
    // names' folders looked at again (the image's time is checked instead).
    EXPECT_LE(files.HostFolderReads(), 6u);
  });
}

// Every change the program makes to the output is in the next answer:
// files written and removed, folders made and removed, a held file let go.
TEST(ImageFileSystem, WhatTheProgramWritesOrRemovesIsSeenAtOnce) {
  Folders folders;
  fs::create_directories(folders.Image() / "drives" / "C" / "Data");
  std::ofstream(folders.Image() / "drives" / "C" / "Data" / "old.txt") << "image";
  ImageFileSystem files(folders.Image(), folders.Out(), "C:\\");
  // Each question first, so that every folder on the way is read before it changes.
  EXPECT_FALSE(files.FileExists("C:\\Out\\a.txt"));
  EXPECT_FALSE(files.FolderExists("C:\\Out\\Sub\\Deeper"));
  ASSERT_TRUE(files.CreateFolder("C:\\Out"));
  ASSERT_TRUE(files.WriteWholeFile("C:\\Out\\a.txt", "a"));
  EXPECT_TRUE(files.FileExists("C:\\OUT\\A.TXT"));
  ASSERT_TRUE(files.CreateFolder("C:\\Out\\Sub"));
  ASSERT_TRUE(files.CreateFolder("C:\\Out\\Sub\\Deeper"));
  EXPECT_TRUE(files.FolderExists("C:\\out\\sub\\deeper"));
  EXPECT_EQ(files.RemoveEmptyFolder("C:\\Out\\Sub\\Deeper"), 0u);
  EXPECT_FALSE(files.FolderExists("C:\\Out\\Sub\\Deeper"));
  EXPECT_EQ(files.RemoveFile("C:\\Out\\a.txt", true), 0u);
  EXPECT_FALSE(files.FileExists("C:\\Out\\a.txt"));
  // A file of the image the program copies, changes and removes.
  EXPECT_EQ(files.CopyFileTo("C:\\Data\\old.txt", "C:\\Out\\copy.txt"), 0u);
  ASSERT_TRUE(files.AppendToFile("C:\\Data\\old.txt", "+"));
  EXPECT_EQ(files.ReadWholeFile("C:\\DATA\\OLD.TXT"), "image+");
  EXPECT_EQ(files.RemoveFile("C:\\Data\\old.txt", true), 0u);
  EXPECT_FALSE(files.FileExists("C:\\Data\\old.txt"));
  ASSERT_TRUE(files.WriteWholeFile("C:\\Data\\old.txt", "new"));
  EXPECT_EQ(files.ReadWholeFile("C:\\Data\\old.txt"), "new");
  // A held file is removed when another is held.
  ASSERT_EQ(files.HoldExclusive("C:\\Out\\first.lock"), 0u);
  EXPECT_TRUE(files.FileExists("C:\\Out\\first.lock"));
  ASSERT_EQ(files.HoldExclusive("C:\\Out\\second.lock"), 0u);
  EXPECT_FALSE(files.FileExists("C:\\Out\\first.lock"));
  EXPECT_TRUE(files.FileExists("C:\\Out\\second.lock"));
  const auto listing = files.ListFolder("C:\\Out");
  ASSERT_TRUE(listing);
  EXPECT_EQ(listing->files, (std::vector<std::string>{"copy.txt", "second.lock"}));
  EXPECT_EQ(listing->folders, std::vector<std::string>{"Sub"});
}

// The image is not expected to change, but a test may change it between two
// questions: a name it gained is found, one it lost is found gone.
TEST(ImageFileSystem, AFileMovedInTheImageBetweenQuestionsIsFoundWhereItIsNow) {
  Folders folders;
  const fs::path data = folders.Image() / "drives" / "C" / "Data";
  fs::create_directories(data);
  std::ofstream(data / "a.txt") << "a";
  // Folder times set apart, as a folder's time may not move within one clock tick.
  const auto moved = [&](const char* from, const char* to, int minutes) {
    fs::rename(data / from, data / to);
    fs::last_write_time(data, fs::file_time_type::clock::now() + std::chrono::minutes(minutes));
  };
  fs::last_write_time(data, fs::file_time_type::clock::now() - std::chrono::minutes(10));
  ImageFileSystem files(folders.Image(), folders.Out(), "C:\\");
  EXPECT_TRUE(files.FileExists("C:\\Data\\a.txt"));
  EXPECT_FALSE(files.FileExists("C:\\Data\\b.txt"));
  moved("a.txt", "b.txt", 1);
  EXPECT_FALSE(files.FileExists("C:\\Data\\a.txt"));
  EXPECT_TRUE(files.FileExists("C:\\DATA\\B.TXT"));
  moved("b.txt", "a.txt", 2);
  EXPECT_TRUE(files.FileExists("C:\\data\\A.txt"));
  EXPECT_FALSE(files.FileExists("C:\\Data\\b.txt"));
  EXPECT_EQ(files.ReadWholeFile("C:\\Data\\a.txt"), "a");
}

// Windows finds a name exactly before one that differs only in case; a
// folder on the host may hold both, and names in UTF-8.
TEST(ImageFileSystem, AnExactNameIsFoundBeforeOneDifferingInCase) {
  Folders folders;
  const fs::path data = folders.Image() / "drives" / "C" / "Data";
  fs::create_directories(data);
  std::ofstream(data / "Read.me") << "first";
  std::ofstream(data / "READ.ME") << "second";
  std::ofstream(data / "caf\xc3\xa9.txt") << "utf-8";
  ImageFileSystem files(folders.Image(), folders.Out(), "C:\\");
  EXPECT_EQ(files.ReadWholeFile("C:\\Data\\Read.me"), "first");
  EXPECT_EQ(files.ReadWholeFile("C:\\Data\\READ.ME"), "second");
  EXPECT_TRUE(files.FileExists("C:\\Data\\read.me"));
  EXPECT_EQ(files.ReadWholeFile("C:\\Data\\caf\xe9.txt"), "utf-8");
  EXPECT_EQ(files.ReadWholeFile("C:\\Data\\caf\xc3\xa9.txt"), "utf-8");
}

}  // namespace
}  // namespace fernwick::image
