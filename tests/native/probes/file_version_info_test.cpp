// Native-only cases: the Windows language names of the image platform, and
// platform answers that the test libraries cannot produce.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "common/file_version_test_platform.h"
#include "probes/file_version_info.h"

namespace fernwick {
namespace {

using testing::FileVersionPlatform;

TEST(FileVersionInfoNative, LanguageIsTheWindowsNameOfTheDeclaredLanguage) {
  CFileVersionInfo info(FileVersionPlatform().versions, FileVersionPlatform().files);
  info.FullPathName(FileVersionPlatform().folder + "normal.dll");
  EXPECT_EQ(info.Language(), "English (United States)");
  EXPECT_EQ(info.PredefinedValue(0), "English (United States)");
  // The string table is reached through the US English fallback, but the
  // language stays the declared one.
  info.FullPathName(FileVersionPlatform().folder + "fallback.dll");
  EXPECT_EQ(info.Language(), "German (Germany)");
}

TEST(FileVersionInfoNative, RelativePathIsExpandedByThePlatform) {
  CFileVersionInfo info(FileVersionPlatform().versions, FileVersionPlatform().files);
  info.FullPathName("normal.dll");
  EXPECT_EQ(info.FullPathName(), FileVersionPlatform().folder + "normal.dll");
  EXPECT_TRUE(info.Available());
}

// Version resources whose answers a test sets directly.
class ScriptedVersions : public platform::VersionResources {
 public:
  class Block : public platform::VersionBlock {
   public:
    std::optional<platform::FixedFileInfo> fixed;
    std::vector<std::uint32_t> translations;
    std::map<std::string, std::string> strings;

    std::optional<platform::FixedFileInfo> Fixed() const override { return fixed; }
    std::vector<std::uint32_t> Translations() const override { return translations; }
    std::optional<std::string> StringValue(const std::string& path) const override {
      const auto found = strings.find(path);
      if (found == strings.end()) return std::nullopt;
      return found->second;
    }
  };

  std::uint32_t size = 100;
  bool loads = true;
  Block block;
  std::string languageName;
  std::vector<std::string> askedPaths;

  std::uint32_t InfoSize(const std::string& path) override {
    askedPaths.push_back(path);
    return size;
  }
  std::unique_ptr<platform::VersionBlock> Load(const std::string&) override {
    if (!loads) return nullptr;
    return std::make_unique<Block>(block);
  }
  std::string LanguageName(std::uint32_t) override { return languageName; }
};

class ExpandingFileSystem : public platform::FileSystem {
 public:
  bool expands = true;
  bool FolderExists(const std::string&) override { return false; }
  bool FileExists(const std::string&) override { return false; }
  bool CreateFolder(const std::string&) override { return false; }
  std::vector<std::string> SubFolderNames(const std::string&) override { return {}; }
  std::optional<std::string> FullPathName(const std::string& path) override {
    if (!expands) return std::nullopt;
    return "C:\\WORK\\" + path;
  }
  std::optional<std::string> ReadWholeFile(const std::string&) override { return std::nullopt; }
  bool WriteWholeFile(const std::string&, std::string_view) override { return false; }
  std::optional<platform::FolderListing> ListFolder(const std::string&) override { return std::nullopt; }
  std::optional<platform::LocalTime> FileLastModified(const std::string&) override { return std::nullopt; }
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string&) override { return std::nullopt; }
  bool RemoveFile(const std::string&) override { return false; }
};

platform::FixedFileInfo Library(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS) {
  platform::FixedFileInfo fixed;
  fixed.signature = 0xFEEF04BD;
  fixed.strucVersion = 0x00010000;
  fixed.fileVersionMS = fileVersionMS;
  fixed.fileVersionLS = fileVersionLS;
  fixed.fileOS = 0x40004;
  fixed.fileType = 2;
  return fixed;
}

class FileVersionInfoScripted : public ::testing::Test {
 protected:
  ScriptedVersions versions;
  ExpandingFileSystem files;
  CFileVersionInfo info{versions, files};

  void SetUp() override {
    versions.block.fixed = Library(0x00060005, 0x1FFE0000);
    versions.block.translations = {0x04E40409};
    versions.block.strings["\\StringFileInfo\\040904E4\\CompanyName"] = "Voxtra Systems";
    versions.languageName = "English (United States)";
  }
};

TEST_F(FileVersionInfoScripted, PathThatCannotBeExpandedChangesNothing) {
  info.FullPathName("a.dll");
  files.expands = false;
  versions.size = 0;
  info.FullPathName("b.dll");
  EXPECT_EQ(info.FullPathName(), "C:\\WORK\\a.dll");
  EXPECT_TRUE(info.Available());
  EXPECT_EQ(versions.askedPaths, std::vector<std::string>{"C:\\WORK\\a.dll"});
}

TEST_F(FileVersionInfoScripted, VersionWordsFormatThirdAndFourthPartsTogether) {
  const std::vector<std::tuple<std::uint32_t, std::uint32_t, std::string>> cases{
      {0x00060005, 0x1FFE0000, "6.05.819000"},  {0x00040000, 0x000003B6, "4.00.0950"},
      {0x0005000C, 0x00010002, "5.12.0102"},    {0x000A0000, 0x0000000C, "10.00.0012"},
      {0x00020001, 0x000C3039, "2.01.1212345"}, {0x00000000, 0x00000000, "0.00.0000"},
      {0xFFFF0001, 0x0001FFFF, "-1.01.01-01"},
  };
  for (const auto& [ms, ls, expected] : cases) {
    versions.block.fixed = Library(ms, ls);
    versions.block.fixed->productVersionMS = ms;
    versions.block.fixed->productVersionLS = ls;
    info.FullPathName("a.dll");
    EXPECT_EQ(info.VerFile(), expected);
    EXPECT_EQ(info.VerProduct(), expected);
  }
}

TEST_F(FileVersionInfoScripted, FlagsAreNotMaskedAndKeepTheirOrder) {
  versions.block.fixed->fileFlagsMask = 0;
  versions.block.fixed->fileFlags = 0x3F | 0x40;
  info.FullPathName("a.dll");
  EXPECT_EQ(info.FileFlags(), "Debug PreRel Patched Private Info Special");
  versions.block.fixed->fileFlags = 0x3;
  info.Refresh();
  EXPECT_EQ(info.FileFlags(), "Debug PreRel");
}

TEST_F(FileVersionInfoScripted, OsTypeAndSubTypeNames) {
  const std::vector<std::pair<std::uint32_t, std::string>> systems{
      {0x10001, "DOS-Win16"}, {0x10004, "DOS-Win32"}, {0x20002, "OS/2-16 PM-16"}, {0x30003, "OS/2-16 PM-32"},
      {0x40004, "NT-Win32"},  {0x4, "Unknown"},       {0x40000, "Unknown"}};
  for (const auto& [os, name] : systems) {
    versions.block.fixed->fileOS = os;
    info.FullPathName("a.dll");
    EXPECT_EQ(info.FileOS(), name) << os;
  }
  const std::vector<std::pair<std::uint32_t, std::string>> types{{0, "Unknown"}, {1, "Application"}, {2, "DLL"},
                                                                 {3, "Driver"},  {4, "Font"},        {5, "VxD"},
                                                                 {6, "Unknown"}, {7, "Lib"},         {8, "Unknown"}};
  for (const auto& [type, name] : types) {
    versions.block.fixed->fileType = type;
    info.FullPathName("a.dll");
    EXPECT_EQ(info.FileType(), name) << type;
  }
  const char* drivers[] = {"Unknown",     "Printer drv", "Keyboard drv", "Language drv", "Display drv", "Mouse drv",
                           "Network drv", "System drv",  "Installable",  "Sound drv",    "Comm drv"};
  versions.block.fixed->fileType = 3;
  for (std::uint32_t subType = 0; subType < 11; ++subType) {
    versions.block.fixed->fileSubtype = subType;
    info.FullPathName("a.dll");
    EXPECT_EQ(info.FileSubType(), drivers[subType]) << subType;
  }
  versions.block.fixed->fileType = 4;
  for (std::uint32_t subType : {0u, 4u}) {
    versions.block.fixed->fileSubtype = subType;
    info.FullPathName("a.dll");
    EXPECT_EQ(info.FileSubType(), "Comm drv") << subType;
  }
  versions.block.fixed->fileSubtype = 2;
  info.FullPathName("a.dll");
  EXPECT_EQ(info.FileSubType(), "Vector Font");
  versions.block.fixed->fileSubtype = 1;
  info.FullPathName("a.dll");
  EXPECT_EQ(info.FileSubType(), "Raster Font");
}

TEST_F(FileVersionInfoScripted, StructureVersionIsHighDotLow) {
  versions.block.fixed->strucVersion = 0x0002000A;
  info.FullPathName("a.dll");
  EXPECT_EQ(info.VerStructure(), "2.10");
}

TEST_F(FileVersionInfoScripted, OnlyTheFirstTranslationIsRead) {
  versions.block.translations = {0x04E40409, 0x04B00407};
  versions.block.strings["\\StringFileInfo\\040704B0\\CompanyName"] = "German";
  info.FullPathName("a.dll");
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
}

TEST_F(FileVersionInfoScripted, PlatformWithoutLanguageNameGivesEmptyLanguage) {
  info.FullPathName("a.dll");
  versions.languageName = "";
  info.Refresh();
  EXPECT_EQ(info.Language(), "");
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
}

TEST_F(FileVersionInfoScripted, BlockThatCannotBeReadAfterItsSizeCountsAsAbsent) {
  info.FullPathName("a.dll");
  versions.loads = false;
  info.FullPathName("b.dll");
  EXPECT_FALSE(info.Available());
  EXPECT_EQ(info.VerFile(), "6.05.819000");
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
}

TEST_F(FileVersionInfoScripted, BlockWithoutFixedPartKeepsFixedMembersAndReadsStrings) {
  info.FullPathName("a.dll");
  versions.block.fixed.reset();
  versions.block.strings["\\StringFileInfo\\040904E4\\CompanyName"] = "Other Company";
  info.FullPathName("b.dll");
  EXPECT_TRUE(info.Available());
  EXPECT_EQ(info.VerFile(), "6.05.819000");
  EXPECT_EQ(info.FileType(), "DLL");
  EXPECT_EQ(info.CompanyName(), "Other Company");
}

}  // namespace
}  // namespace fernwick
