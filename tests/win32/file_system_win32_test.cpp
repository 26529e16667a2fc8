// The Windows file system and message pump services that the install
// section and the prompt check use, on the real API.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/win32/win32_services.h"
#include "platform/win32/windows_api.h"

namespace fernwick {
namespace {

class TempFolder {
 public:
  TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "fernwick_fs_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const char* file : {"\\b.txt", "\\A.ini"}) DeleteFileA((path_ + file).c_str());
    for (const char* folder : {"\\Zeta", "\\alpha"}) RemoveDirectoryA((path_ + folder).c_str());
    RemoveDirectoryA(path_.c_str());
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

void Touch(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  CloseHandle(file);
}

TEST(FileSystemWin32, ListFolderGivesFilesAndSubfoldersWithoutDotEntries) {
  TempFolder temp;
  Touch(temp.Path() + "\\b.txt");
  Touch(temp.Path() + "\\A.ini");
  CreateDirectoryA((temp.Path() + "\\Zeta").c_str(), nullptr);
  CreateDirectoryA((temp.Path() + "\\alpha").c_str(), nullptr);
  win32::Win32FileSystem files;
  auto listing = files.ListFolder(temp.Path());
  ASSERT_TRUE(listing.has_value());
  std::sort(listing->files.begin(), listing->files.end());
  std::sort(listing->folders.begin(), listing->folders.end());
  EXPECT_EQ(listing->files, (std::vector<std::string>{"A.ini", "b.txt"}));
  EXPECT_EQ(listing->folders, (std::vector<std::string>{"Zeta", "alpha"}));
  EXPECT_FALSE(files.ListFolder(temp.Path() + "\\missing").has_value());
}

TEST(FileSystemWin32, FileLastModifiedIsTheLocalTimeOfTheLastWrite) {
  TempFolder temp;
  const std::string path = temp.Path() + "\\A.ini";
  Touch(path);
  SYSTEMTIME local{2009, 2, 2, 17, 16, 42, 10, 0};
  FILETIME localFile{};
  FILETIME utc{};
  ASSERT_TRUE(SystemTimeToFileTime(&local, &localFile));
  ASSERT_TRUE(LocalFileTimeToFileTime(&localFile, &utc));
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
  CloseHandle(file);
  win32::Win32FileSystem files;
  const auto modified = files.FileLastModified(path);
  ASSERT_TRUE(modified.has_value());
  EXPECT_EQ(modified->year, 2009);
  EXPECT_EQ(modified->month, 2);
  EXPECT_EQ(modified->day, 17);
  EXPECT_EQ(modified->hour, 16);
  EXPECT_EQ(modified->minute, 42);
  EXPECT_EQ(modified->second, 10);
  EXPECT_FALSE(files.FileLastModified(temp.Path()).has_value()) << "a folder has no file date";
  EXPECT_FALSE(files.FileLastModified(temp.Path() + "\\missing.sql").has_value());
}

TEST(FileSystemWin32, DriveSpaceOfTheSystemDriveAndOfNoDrive) {
  win32::Win32FileSystem files;
  const auto c = files.DriveSpaceOf("C:");
  ASSERT_TRUE(c.has_value());
  EXPECT_GT(c->totalBytes, 0);
  EXPECT_LE(c->availableBytes, c->totalBytes);
  EXPECT_FALSE(files.DriveSpaceOf("Q:").has_value());
  EXPECT_FALSE(files.DriveSpaceOf("").has_value());
}

TEST(FileSystemWin32, PumpingMessagesKeepsAQuitForTheMainLoop) {
  win32::Win32UserInterface ui;
  PostQuitMessage(7);
  ui.PumpMessages();
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace fernwick
