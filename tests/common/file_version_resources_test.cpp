// The platform's version-resource answers on the test libraries: version.dll
// under Wine, the image platform's reader natively. Both must agree.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/file_version_test_platform.h"

namespace fernwick {
namespace {

using testing::FileVersionPlatform;

class FileVersionResourcesTest : public ::testing::Test {
 protected:
  platform::VersionResources& versions = FileVersionPlatform().versions;

  static std::string Library(const std::string& name) { return FileVersionPlatform().folder + name; }
  std::unique_ptr<platform::VersionBlock> Load(const std::string& name) {
    std::unique_ptr<platform::VersionBlock> block = versions.Load(Library(name));
    EXPECT_NE(block, nullptr) << name;
    return block;
  }
};

TEST_F(FileVersionResourcesTest, SizeIsZeroWithoutVersionResource) {
  EXPECT_EQ(versions.InfoSize(Library("no_version.dll")), 0u);
  EXPECT_EQ(versions.InfoSize(Library("missing.dll")), 0u);
  EXPECT_EQ(versions.Load(Library("no_version.dll")), nullptr);
  EXPECT_EQ(versions.Load(Library("missing.dll")), nullptr);
  EXPECT_GT(versions.InfoSize(Library("normal.dll")), 0u);
}

TEST_F(FileVersionResourcesTest, FixedBlockHoldsAllThirteenFields) {
  std::unique_ptr<platform::VersionBlock> block = Load("normal.dll");
  ASSERT_NE(block, nullptr);
  std::optional<platform::FixedFileInfo> fixed = block->Fixed();
  ASSERT_TRUE(fixed);
  EXPECT_EQ(fixed->signature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->strucVersion, 0x00010000u);
  EXPECT_EQ(fixed->fileVersionMS, 0x00060005u);
  EXPECT_EQ(fixed->fileVersionLS, 0x1FFE0000u);
  EXPECT_EQ(fixed->productVersionMS, 0x00040000u);
  EXPECT_EQ(fixed->productVersionLS, 0x000003B6u);
  EXPECT_EQ(fixed->fileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed->fileFlags, 0u);
  EXPECT_EQ(fixed->fileOS, 0x40004u);
  EXPECT_EQ(fixed->fileType, 2u);
  EXPECT_EQ(fixed->fileSubtype, 0u);
  EXPECT_EQ(fixed->fileDateMS, 0u);
  EXPECT_EQ(fixed->fileDateLS, 0u);
}

TEST_F(FileVersionResourcesTest, TranslationHasTheLanguageInTheLowHalf) {
  EXPECT_EQ(Load("normal.dll")->Translations(), std::vector<std::uint32_t>{0x04B00409u});
  EXPECT_EQ(Load("fallback.dll")->Translations(), std::vector<std::uint32_t>{0x04B00407u});
  EXPECT_TRUE(Load("no_translation.dll")->Translations().empty());
}

TEST_F(FileVersionResourcesTest, StringPathsMatchWithoutRegardToCase) {
  std::unique_ptr<platform::VersionBlock> block = Load("normal.dll");
  EXPECT_EQ(block->StringValue("\\StringFileInfo\\040904B0\\CompanyName"), "Voxtra Systems");
  EXPECT_EQ(block->StringValue("\\stringfileinfo\\040904b0\\COMPANYNAME"), "Voxtra Systems");
  // The table key is written in lower case in this library.
  EXPECT_EQ(Load("debug_patched.dll")->StringValue("\\StringFileInfo\\040904B0\\CompanyName"), "Voxtra Systems");
}

TEST_F(FileVersionResourcesTest, MissingKeysAndTablesFailTheQuery) {
  std::unique_ptr<platform::VersionBlock> block = Load("normal.dll");
  EXPECT_EQ(block->StringValue("\\StringFileInfo\\040904B0\\NoSuchKey"), std::nullopt);
  EXPECT_EQ(block->StringValue("\\StringFileInfo\\040704B0\\CompanyName"), std::nullopt);
  EXPECT_EQ(block->StringValue("\\StringFileInfo\\040904B0\\Company"), std::nullopt);
  EXPECT_EQ(block->StringValue("\\StringFileInfo\\040904B0\\CompanyNameX"), std::nullopt);
}

TEST_F(FileVersionResourcesTest, EmptyValueIsAnEmptyText) {
  EXPECT_EQ(Load("debug_patched.dll")->StringValue("\\StringFileInfo\\040904B0\\Comments").value_or("(failed)"), "");
}

TEST_F(FileVersionResourcesTest, TextsComeInTheAnsiCodePage) {
  EXPECT_EQ(Load("normal.dll")->StringValue("\\StringFileInfo\\040904B0\\LegalCopyright"),
            "Copyright \xA9 2009 Voxtra Systems");
  EXPECT_EQ(Load("german_no_company.dll")->StringValue("\\StringFileInfo\\040704E4\\FileDescription"),
            "Gr\xFC\xDF"
            "e aus der deutschen Tabelle");
}

TEST_F(FileVersionResourcesTest, LanguagesHaveNames) {
  EXPECT_TRUE(versions.LanguageName(0x0409).rfind("English", 0) == 0) << versions.LanguageName(0x0409);
  EXPECT_TRUE(versions.LanguageName(0x0407).rfind("German", 0) == 0) << versions.LanguageName(0x0407);
  EXPECT_EQ(versions.LanguageName(0x0411), "Japanese");
}

}  // namespace
}  // namespace fernwick
