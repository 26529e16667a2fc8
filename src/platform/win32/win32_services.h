#pragma once
// The small Windows services: file system, program facts, user interface,
// clock and process control.
#include <map>
#include <optional>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/process_control.h"
#include "platform/program_facts.h"
#include "platform/user_interface.h"
#include "platform/win32/win32_handles.h"

namespace fernwick::win32 {

class Win32FileSystem : public platform::FileSystem {
 public:
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::vector<std::string> SubFolderNames(const std::string& path) override;
  std::optional<std::string> FullPathName(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, std::string_view bytes) override;
  std::optional<platform::FolderListing> ListFolder(const std::string& path) override;
  std::optional<platform::LocalTime> FileLastModified(const std::string& path) override;
  std::optional<platform::DriveSpace> DriveSpaceOf(const std::string& driveName) override;
  std::uint32_t RemoveFile(const std::string& path, bool force) override;
  std::uint32_t CopyFileTo(const std::string& from, const std::string& to) override;
  std::optional<std::string> ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t size) override;
  bool AppendToFile(const std::string& path, std::string_view bytes) override;
  std::uint32_t RemoveEmptyFolder(const std::string& path) override;
  std::uint32_t SetCurrentFolder(const std::string& path) override;
  std::string CurrentFolder() override;
  std::string TemporaryFolder() override;
  std::uint32_t HoldExclusive(const std::string& path) override;
  std::optional<std::string> FolderIdentity(const std::string& path) override;

 private:
  UniqueHandle held_;
};

class Win32ProgramFacts : public platform::ProgramFacts {
 public:
  std::string CommandLine() override;
  std::string InstallFolder() override;
  platform::OwnVersion Version() override;
};

class Win32UserInterface : public platform::UserInterface {
 public:
  // Message boxes are owned by this window when it is set.
  void SetOwner(void* window) { owner_ = window; }
  int MessageBox(const std::string& text, const std::string& title, unsigned buttons) override;
  bool SetClipboardText(const std::string& text) override;
  std::string BrowseForFolder() override;
  std::intptr_t RunShellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                                const std::string& directory, int showCommand) override;
  void SetWaitPointer(bool busy) override;
  void PumpMessages() override;

 private:
  void* owner_ = nullptr;
};

class Win32Clock : public platform::Clock {
 public:
  platform::LocalTime Now() override;
};

class Win32ProcessControl : public platform::ProcessControl {
 public:
  bool SetProcessPriority(std::uint32_t priorityClass) override;
  platform::ProcessStart StartProcess(const std::string& commandLine, int windowStyle) override;
  std::uint32_t WaitForProcessId(std::uint32_t processId, std::uint32_t timeoutMs) override;
  std::optional<std::uint32_t> ExitCodeOf(std::uint32_t processId) override;
  platform::EndedTree EndProcessTree(std::uint32_t processId) override;
  void ReleaseProcess(std::uint32_t processId) override;

 private:
  // A started program stays open until it is released: while its handle is
  // open Windows gives its id to no other process, so neither a wait nor an
  // end can reach a stranger, and its exit code stays readable.
  struct Held {
    UniqueHandle process;
    // The job that holds the program and whatever it starts, so that a
    // program that outlives its limit can be ended with its children. None
    // when the program could not be put in one.
    UniqueHandle job;
  };
  std::map<std::uint32_t, Held> held_;
};

}  // namespace fernwick::win32
