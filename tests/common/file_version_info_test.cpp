#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/file_version_test_platform.h"
#include "common/text.h"
#include "probes/file_version_info.h"

namespace fernwick {
namespace {

using testing::FileVersionPlatform;

class FileVersionInfoTest : public ::testing::Test {
 protected:
  CFileVersionInfo info{FileVersionPlatform().versions, FileVersionPlatform().files};

  static std::string Library(const std::string& name) { return FileVersionPlatform().folder + name; }
  void Read(const std::string& name) { info.FullPathName(Library(name)); }
};

TEST_F(FileVersionInfoTest, NewObjectIsEmptyAndUnavailable) {
  EXPECT_FALSE(info.Available());
  EXPECT_EQ(info.FullPathName(), "");
  EXPECT_EQ(info.VerFile(), "");
  EXPECT_EQ(info.FileType(), "");
  for (int which = 0; which <= 14; ++which) EXPECT_EQ(info.PredefinedValue(which), "") << which;
}

TEST_F(FileVersionInfoTest, OrdinaryLibraryFillsFixedBlockAndEveryStringKey) {
  Read("normal.dll");
  EXPECT_EQ(info.FullPathName(), Library("normal.dll"));
  EXPECT_TRUE(info.Available());
  EXPECT_EQ(info.VerStructure(), "1.0");
  EXPECT_EQ(info.VerFile(), "6.05.819000");
  EXPECT_EQ(info.VerProduct(), "4.00.0950");
  EXPECT_EQ(info.FileFlags(), "");
  EXPECT_EQ(info.FileOS(), "NT-Win32");
  EXPECT_EQ(info.FileType(), "DLL");
  EXPECT_EQ(info.FileSubType(), "");
  EXPECT_TRUE(StartsWithNoCase(info.Language(), "English")) << info.Language();
  EXPECT_EQ(info.Language().find('\0'), std::string::npos);
  EXPECT_EQ(info.Comments(), "Test library");
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
  EXPECT_EQ(info.FileDescription(), "Voxtra test library");
  EXPECT_EQ(info.FileVersion(), "6.5.8190.0");
  EXPECT_EQ(info.InternalName(), "normal");
  EXPECT_EQ(info.LegalCopyright(), "Copyright \xA9 2009 Voxtra Systems");
  EXPECT_EQ(info.LegalTrademarks(), "Voxtra is a trademark");
  EXPECT_EQ(info.OriginalFilename(), "normal.dll");
  EXPECT_EQ(info.ProductName(), "Voxtra Server");
  EXPECT_EQ(info.ProductVersion(), "4.0.0.950");
  EXPECT_EQ(info.PrivateBuild(), "built by the test suite");
  EXPECT_EQ(info.SpecialBuild(), "special one");
  EXPECT_EQ(info.PredefinedValue(13), "first extra trademark");
  EXPECT_EQ(info.PredefinedValue(14), "second extra trademark");
}

TEST_F(FileVersionInfoTest, PredefinedValuesFollowTheLabels) {
  Read("normal.dll");
  const std::vector<std::pair<std::string, std::string>> expected{
      {"Language", info.Language()},
      {"Comments", "Test library"},
      {"Company Name", "Voxtra Systems"},
      {"File Description", "Voxtra test library"},
      {"File Version", "6.5.8190.0"},
      {"Internal Name", "normal"},
      {"Legal Copyright", "Copyright \xA9 2009 Voxtra Systems"},
      {"Legal Trademarks", "Voxtra is a trademark"},
      {"Original Filename", "normal.dll"},
      {"Product Name", "Voxtra Server"},
      {"Product Version", "4.0.0.950"},
      {"Private Build", "built by the test suite"},
      {"Special Build", "special one"},
      {"LegalTrademarks1", "first extra trademark"},
      {"LegalTrademarks2", "second extra trademark"},
  };
  for (int which = 0; which < static_cast<int>(expected.size()); ++which) {
    EXPECT_EQ(info.PredefinedName(which), expected[static_cast<std::size_t>(which)].first) << which;
    EXPECT_EQ(info.PredefinedValue(which), expected[static_cast<std::size_t>(which)].second) << which;
  }
}

TEST_F(FileVersionInfoTest, IndicesOutsideThePredefinedTableGiveEmptyTexts) {
  Read("normal.dll");
  for (int which : {15, -1, 100, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(info.PredefinedName(which), "") << which;
    EXPECT_EQ(info.PredefinedValue(which), "") << which;
  }
}

TEST_F(FileVersionInfoTest, DebugAndPatchedFlagsWithoutTrailingBlank) {
  Read("debug_patched.dll");
  EXPECT_EQ(info.FileFlags(), "Debug Patched");
  EXPECT_EQ(info.FileOS(), "DOS-Win32");
}

TEST_F(FileVersionInfoTest, VersionHalvesAbove32767ReadAsNegativeNumbers) {
  // 1.65535.32768.5: the second half is -1, the third -32768 (not above 0).
  Read("debug_patched.dll");
  EXPECT_EQ(info.VerFile(), "1.-01.0005");
  EXPECT_EQ(info.VerProduct(), "2.10.0304");
}

TEST_F(FileVersionInfoTest, LowerCaseStringTableKeyIsFound) {
  Read("debug_patched.dll");
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
  EXPECT_EQ(info.FileVersion(), "1.65535.32768.5 debug");
  EXPECT_EQ(info.Comments(), "");
  EXPECT_EQ(info.ProductName(), "");
}

TEST_F(FileVersionInfoTest, TrueTypeFont) {
  Read("truetype_font.dll");
  EXPECT_EQ(info.FileType(), "Font");
  EXPECT_EQ(info.FileSubType(), "TrueType Font");
  EXPECT_EQ(info.FileOS(), "DOS-Win16");
  EXPECT_EQ(info.VerFile(), "2.00.0001");
  EXPECT_EQ(info.CompanyName(), "Voxtra Type Foundry");
}

TEST_F(FileVersionInfoTest, SystemDriver) {
  Read("driver_system.dll");
  EXPECT_EQ(info.FileType(), "Driver");
  EXPECT_EQ(info.FileSubType(), "System drv");
  EXPECT_EQ(info.VerFile(), "5.02.37901830");
}

TEST_F(FileVersionInfoTest, DriverSubtype12KeepsTheEarlierSubType) {
  Read("truetype_font.dll");
  Read("driver_subtype12.dll");
  EXPECT_EQ(info.FileType(), "Driver");
  EXPECT_EQ(info.FileSubType(), "TrueType Font");
  EXPECT_EQ(info.FileOS(), "OS/2-16 PM-32");
  EXPECT_EQ(info.FileDescription(), "Voxtra unnamed driver");
}

TEST_F(FileVersionInfoTest, DriverSubtype12OnAFreshObjectLeavesSubTypeEmpty) {
  Read("driver_subtype12.dll");
  EXPECT_EQ(info.FileType(), "Driver");
  EXPECT_EQ(info.FileSubType(), "");
}

TEST_F(FileVersionInfoTest, OtherFileTypesKeepTheEarlierSubType) {
  Read("driver_system.dll");
  Read("normal.dll");
  EXPECT_EQ(info.FileType(), "DLL");
  EXPECT_EQ(info.FileSubType(), "System drv");
}

TEST_F(FileVersionInfoTest, StringsOnlyInUsEnglishTableAreReadThroughTheFallback) {
  Read("fallback.dll");
  EXPECT_TRUE(StartsWithNoCase(info.Language(), "German")) << info.Language();
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems (US table)");
  EXPECT_EQ(info.FileDescription(), "Reached through the US table");
  EXPECT_EQ(info.FileVersion(), "3.1.0.12");
  EXPECT_EQ(info.ProductName(), "Voxtra Fallback");
  EXPECT_EQ(info.Comments(), "");
  EXPECT_EQ(info.FileType(), "Application");
}

TEST_F(FileVersionInfoTest, DeclaredTableStaysInUseWhenTheFallbackHasNoCompanyName) {
  Read("german_no_company.dll");
  EXPECT_EQ(info.CompanyName(), "");
  EXPECT_EQ(info.FileDescription(),
            "Gr\xFC\xDF"
            "e aus der deutschen Tabelle");
  EXPECT_EQ(info.FileVersion(), "7.0");
  EXPECT_EQ(info.FileType(), "VxD");
}

TEST_F(FileVersionInfoTest, FileWithoutTranslationFillsFixedBlockAndKeepsStrings) {
  Read("normal.dll");
  Read("no_translation.dll");
  EXPECT_TRUE(info.Available());
  EXPECT_EQ(info.VerFile(), "8.01.0203");
  EXPECT_EQ(info.FileFlags(), "PreRel");
  EXPECT_EQ(info.FileType(), "Lib");
  EXPECT_EQ(info.FullPathName(), Library("no_translation.dll"));
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
  EXPECT_EQ(info.FileVersion(), "6.5.8190.0");
  EXPECT_TRUE(StartsWithNoCase(info.Language(), "English"));
}

TEST_F(FileVersionInfoTest, FileWithoutTranslationOnAFreshObjectHasNoStrings) {
  Read("no_translation.dll");
  EXPECT_TRUE(info.Available());
  EXPECT_EQ(info.CompanyName(), "");
  EXPECT_EQ(info.Language(), "");
}

TEST_F(FileVersionInfoTest, ReuseForFileWithoutVersionInfoKeepsEarlierValues) {
  Read("normal.dll");
  Read("no_version.dll");
  EXPECT_FALSE(info.Available());
  EXPECT_EQ(info.FullPathName(), Library("no_version.dll"));
  EXPECT_EQ(info.VerFile(), "6.05.819000");
  EXPECT_EQ(info.FileType(), "DLL");
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
  EXPECT_EQ(info.PredefinedValue(14), "second extra trademark");
}

TEST_F(FileVersionInfoTest, MissingFileIsUnavailableWithoutError) {
  Read("normal.dll");
  Read("does_not_exist.dll");
  EXPECT_FALSE(info.Available());
  EXPECT_EQ(info.FullPathName(), Library("does_not_exist.dll"));
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
}

TEST_F(FileVersionInfoTest, RefreshRereadsTheSameFile) {
  Read("normal.dll");
  info.Refresh();
  EXPECT_TRUE(info.Available());
  EXPECT_EQ(info.VerFile(), "6.05.819000");
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
}

}  // namespace
}  // namespace fernwick
