// The process runner and the packaging file operations over the real
// Windows API (run by tests/wine/process_runner_test.sh).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/runtime_error.h"
#include "launch/external_app.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/windows_api.h"

#include <tlhelp32.h>

#include <vector>

namespace fernwick {
namespace {

std::string SystemFolder() {
  char buffer[MAX_PATH] = {};
  GetSystemDirectoryA(buffer, MAX_PATH);
  return buffer;
}

TEST(Win32ProcessRunner, WaitsForAProgramThatEndsAndForOneThatEndedBeforeTheWait) {
  win32::Win32ProcessControl process;
  const DWORD t0 = GetTickCount();
  launch::RunAndWait(process, SystemFolder() + "\\cmd.exe /c exit 3", platform::kWindowHidden, platform::kInfinite);
  EXPECT_LT(GetTickCount() - t0, 20000u);

  const auto started = process.StartProcess(SystemFolder() + "\\cmd.exe /c exit 0", platform::kWindowHidden);
  ASSERT_EQ(started.error, 0u);
  Sleep(1500);  // the program has ended; its id must not lead to a stranger
  EXPECT_TRUE(launch::WaitForProcess(process, started.processId, platform::kInfinite));
}

TEST(Win32ProcessRunner, ATimeOutLeavesTheProgramRunning) {
  win32::Win32ProcessControl process;
  const auto started = process.StartProcess(SystemFolder() + "\\notepad.exe", platform::kWindowHidden);
  ASSERT_EQ(started.error, 0u);
  const DWORD t0 = GetTickCount();
  EXPECT_TRUE(launch::WaitForProcess(process, started.processId, 300));
  EXPECT_LT(GetTickCount() - t0, 5000u);
  win32::UniqueHandle still(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, started.processId));
  ASSERT_TRUE(still);
  EXPECT_EQ(WaitForSingleObject(still.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the program was stopped";
  TerminateProcess(still.Get(), 0);
}

// The ids of the running programs that `parentId` started.
std::vector<DWORD> ChildrenOf(DWORD parentId) {
  std::vector<DWORD> children;
  win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.Get(), &entry); more != FALSE;
       more = Process32Next(snapshot.Get(), &entry)) {
    if (entry.th32ParentProcessID == parentId) children.push_back(entry.th32ProcessID);
  }
  return children;
}

TEST(Win32ProcessRunner, AProgramEndedAtItsLimitTakesTheProgramsItStartedWithIt) {
  win32::Win32ProcessControl process;
  const auto started =
      process.StartProcess(SystemFolder() + "\\cmd.exe /c start /wait notepad.exe", platform::kWindowHidden);
  ASSERT_EQ(started.error, 0u);
  std::vector<DWORD> children;
  for (int i = 0; i < 100 && children.empty(); ++i, Sleep(100)) children = ChildrenOf(started.processId);
  ASSERT_FALSE(children.empty()) << "cmd started no notepad";
  EXPECT_EQ(process.WaitForProcessId(started.processId, 300), platform::kWaitTimeout);
  EXPECT_EQ(process.EndProcessTree(started.processId), platform::EndedTree::kWithItsPrograms);
  for (const DWORD child : children) {
    win32::UniqueHandle still(OpenProcess(SYNCHRONIZE, FALSE, child));
    if (still) {
      EXPECT_EQ(WaitForSingleObject(still.Get(), 5000), static_cast<DWORD>(WAIT_OBJECT_0)) << "still running";
    }
  }
}

TEST(Win32ProcessRunner, TheExitCodeIsReadFromTheHeldProcessAndAReleasedOneIsNeverEnded) {
  win32::Win32ProcessControl process;
  std::uint32_t id = 0;
  EXPECT_EQ(launch::RunAndWait(process, SystemFolder() + "\\cmd.exe /c exit 3", platform::kWindowHidden,
                               platform::kInfinite, &id),
            0u);
  EXPECT_EQ(process.ExitCodeOf(id), std::optional<std::uint32_t>(3));
  process.ReleaseProcess(id);
  EXPECT_EQ(process.ExitCodeOf(id), std::nullopt);
  // Its id may belong to another process by now: ending goes by what is held, never by id.
  EXPECT_EQ(process.EndProcessTree(id), platform::EndedTree::kNothing);
}

TEST(Win32ProcessRunner, AProgramThatCannotStartRaisesFileNotFoundWithoutWaiting) {
  win32::Win32ProcessControl process;
  try {
    launch::RunAndWait(process, "C:\\no_such_folder\\dumpel -d 5", platform::kWindowHidden, platform::kInfinite);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_TRUE(e.Number() == err::kFileNotFound || e.Number() == err::kPathNotFound) << e.Number();
  }
  EXPECT_FALSE(launch::WaitForProcess(process, 0x7FFFFFF0, 100));
}

TEST(Win32PackagingFiles, ForcedDeleteRemovesAReadOnlyFileCopiesReplaceAndFoldersGoOnlyWhenEmpty) {
  win32::Win32FileSystem files;
  const std::string temp = files.TemporaryFolder();
  ASSERT_FALSE(temp.empty());
  ASSERT_EQ(temp.back(), '\\');
  const std::string folder = temp + "fernwick_packaging_test";
  files.CreateFolder(folder);
  const std::string a = folder + "\\a.txt";
  const std::string b = folder + "\\b.txt";
  ASSERT_TRUE(files.WriteWholeFile(a, "new"));
  ASSERT_TRUE(files.WriteWholeFile(b, "old, longer"));
  EXPECT_EQ(files.CopyFileTo(a, b), 0u);
  EXPECT_EQ(files.ReadWholeFile(b).value_or(""), "new");
  EXPECT_NE(files.CopyFileTo(folder + "\\missing.txt", b), 0u);

  SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(files.RemoveFile(a, false), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(files.FileExists(a));
  EXPECT_EQ(files.RemoveFile(a, true), 0u);
  EXPECT_FALSE(files.FileExists(a));

  EXPECT_NE(files.RemoveEmptyFolder(folder), 0u) << "a folder with a file was removed";
  const std::string before = files.CurrentFolder();
  EXPECT_EQ(files.SetCurrentFolder(folder + "\\"), 0u);
  EXPECT_EQ(files.CurrentFolder(), folder);
  EXPECT_NE(files.SetCurrentFolder(folder + "\\nowhere\\"), 0u);
  files.SetCurrentFolder(before);
  EXPECT_EQ(files.RemoveFile(b, false), 0u);
  EXPECT_EQ(files.RemoveEmptyFolder(folder), 0u);
  EXPECT_FALSE(files.FolderExists(folder));
}

}  // namespace
}  // namespace fernwick
