#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/image/image_file_system.h"
#include "platform/image/image_version_resources.h"
#include "probes/file_version_info.h"

namespace fernwick::image {
namespace {

namespace fs = std::filesystem;

// Windows paths "C:\PE\name" name the test libraries; anything else names
// nothing, as a missing file would. The answers that version.dll gives too
// are proven in tests/common/file_version_resources_test.cpp.
std::optional<fs::path> HostPath(const std::string& windowsPath) {
  const std::string prefix = "C:\\PE\\";
  if (windowsPath.rfind(prefix, 0) != 0) return std::nullopt;
  return fs::path(FERNWICK_TEST_PE_DIR) / windowsPath.substr(prefix.size());
}

class ImageVersionResourcesTest : public ::testing::Test {
 protected:
  ImageVersionResources versions{HostPath};
};

TEST_F(ImageVersionResourcesTest, PathsTheImageCannotMapHaveNoVersionResource) {
  EXPECT_EQ(versions.InfoSize("D:\\elsewhere.dll"), 0u);
  EXPECT_EQ(versions.Load("D:\\elsewhere.dll"), nullptr);
}

TEST_F(ImageVersionResourcesTest, FilesThatAreNotLibrariesHaveNoVersionResource) {
  // The resource script and the object file beside the library are no PE
  // files; a folder is not a file at all.
  const fs::path folder = fs::path(FERNWICK_TEST_PE_DIR);
  ASSERT_TRUE(fs::exists(folder / "normal.res.o"));
  EXPECT_EQ(versions.InfoSize("C:\\PE\\normal.res.o"), 0u);
  EXPECT_EQ(versions.InfoSize("C:\\PE\\"), 0u);
  const fs::path garbage = fs::path(::testing::TempDir()) / "fileversion_garbage.dll";
  std::ofstream(garbage, std::ios::binary) << "MZ this is no portable executable";
  ImageVersionResources byHostPath([](const std::string& path) { return std::optional<fs::path>(path); });
  EXPECT_EQ(byHostPath.InfoSize(garbage.string()), 0u);
  fs::remove(garbage);
}

TEST(ImageVersionResources, LibraryInsideAnImageIsFoundThroughItsFileSystem) {
  const fs::path root = fs::path(::testing::TempDir()) / "fileversion_image";
  fs::remove_all(root);
  fs::create_directories(root / "drives" / "c" / "Program Files" / "Voxtra");
  fs::copy_file(fs::path(FERNWICK_TEST_PE_DIR) / "normal.dll",
                root / "drives" / "c" / "Program Files" / "Voxtra" / "Normal.DLL");
  ImageFileSystem files(root, root / "overlay", "C:\\Program Files");
  ImageVersionResources versions([&files](const std::string& path) { return files.HostPath(path); });

  CFileVersionInfo info(versions, files);
  info.FullPathName("c:\\PROGRAM FILES\\voxtra\\normal.dll");
  EXPECT_TRUE(info.Available());
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
  EXPECT_EQ(info.VerFile(), "6.05.819000");
  info.FullPathName("C:\\Program Files\\Voxtra\\missing.dll");
  EXPECT_FALSE(info.Available());
  EXPECT_EQ(info.CompanyName(), "Voxtra Systems");
  fs::remove_all(root);
}

TEST(ImageVersionResources, TruncatedLibrariesAreAnsweredWithoutFailing) {
  std::ifstream in(fs::path(FERNWICK_TEST_PE_DIR) / "normal.dll", std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(whole.size(), 1024u);
  const fs::path cut = fs::path(::testing::TempDir()) / "fileversion_cut.dll";
  ImageVersionResources versions([&cut](const std::string&) { return std::optional<fs::path>(cut); });
  for (std::size_t size = 0; size < whole.size(); size += 97) {
    std::ofstream(cut, std::ios::binary | std::ios::trunc) << whole.substr(0, size);
    if (versions.InfoSize("C:\\cut.dll") == 0) continue;
    std::unique_ptr<platform::VersionBlock> block = versions.Load("C:\\cut.dll");
    ASSERT_NE(block, nullptr) << size;
    block->Fixed();
    block->StringValue("\\StringFileInfo\\040904B0\\CompanyName");
  }
  fs::remove(cut);
}

TEST_F(ImageVersionResourcesTest, LanguageNamesAreThoseOfWindows) {
  EXPECT_EQ(versions.LanguageName(0x0409), "English (United States)");
  EXPECT_EQ(versions.LanguageName(0x0407), "German (Germany)");
  EXPECT_EQ(versions.LanguageName(0x0809), "English (United Kingdom)");
  EXPECT_EQ(versions.LanguageName(0x040A), "Spanish (Traditional Sort)");
  EXPECT_EQ(versions.LanguageName(0x0C0A), "Spanish (International Sort)");
  EXPECT_EQ(versions.LanguageName(0x040C), "French (France)");
  EXPECT_EQ(versions.LanguageName(0x0C0C), "French (Canada)");
  EXPECT_EQ(versions.LanguageName(0x0411), "Japanese");
  EXPECT_EQ(versions.LanguageName(0x0412), "Korean");
  EXPECT_EQ(versions.LanguageName(0x0414), "Norwegian (Bokm\xE5l)");
  EXPECT_EQ(versions.LanguageName(0x0816), "Portuguese (Portugal)");
  EXPECT_EQ(versions.LanguageName(0x500A), "Spanish (Puerto Rico)");
}

TEST_F(ImageVersionResourcesTest, EveryLanguageOfTheLanguageCodeTableHasAName) {
  const std::uint32_t languages[] = {
      0x0409, 0x0809, 0x0C09, 0x1009, 0x1409, 0x1809, 0x0407, 0x0807, 0x0C07, 0x1007, 0x1407, 0x040A, 0x080A, 0x0C0A,
      0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A, 0x240A, 0x280A, 0x2C0A, 0x480A, 0x4C0A, 0x500A, 0x040C, 0x080C, 0x0C0C,
      0x100C, 0x140C, 0x0410, 0x0810, 0x0411, 0x0413, 0x0813, 0x0414, 0x0814, 0x0416, 0x0816, 0x0404, 0x0804};
  for (std::uint32_t language : languages) {
    EXPECT_NE(versions.LanguageName(language), "Language Neutral") << std::hex << language;
  }
}

TEST_F(ImageVersionResourcesTest, UnknownLanguageIsLanguageNeutral) {
  EXPECT_EQ(versions.LanguageName(0), "Language Neutral");
  EXPECT_EQ(versions.LanguageName(0x7C09), "Language Neutral");
}

}  // namespace
}  // namespace fernwick::image
