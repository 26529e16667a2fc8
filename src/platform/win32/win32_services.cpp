#include "platform/win32/win32_services.h"

#include "platform/win32/windows_api.h"

#include <shlobj.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "common/text.h"
#include "platform/own_version.h"
#include "platform/win32/win32_handles.h"

namespace fernwick::win32 {

bool Win32FileSystem::FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

std::vector<std::string> Win32FileSystem::SubFolderNames(const std::string& path) {
  std::vector<std::string> names;
  std::string pattern = path;
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA data{};
  UniqueFindHandle find(FindFirstFileA(pattern.c_str(), &data));
  if (!find.Valid()) return names;
  do {
    const std::string name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find.Get(), &data) != FALSE);
  return names;
}

std::optional<std::string> Win32FileSystem::FullPathName(const std::string& path) {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::string(buffer, length);
}

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) != FALSE && got > 0) content.append(chunk, got);
  return content;
}

std::optional<std::string> Win32FileSystem::ReadFilePart(const std::string& path, std::uint64_t offset,
                                                         std::size_t size) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) == FALSE) return std::nullopt;
  std::string piece(size, '\0');
  DWORD got = 0;
  std::size_t filled = 0;
  while (filled < size &&
         ReadFile(file.Get(), piece.data() + filled, static_cast<DWORD>(size - filled), &got, nullptr) != FALSE &&
         got > 0) {
    filled += got;
  }
  piece.resize(filled);
  return piece;
}

bool Win32FileSystem::AppendToFile(const std::string& path, std::string_view bytes) {
  UniqueHandle file(
      CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE &&
         written == bytes.size();
}

bool Win32FileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
  UniqueHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE &&
         written == bytes.size();
}

std::optional<platform::FolderListing> Win32FileSystem::ListFolder(const std::string& path) {
  std::string pattern = path;
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA data{};
  UniqueFindHandle find(FindFirstFileA(pattern.c_str(), &data));
  if (!find.Valid()) return std::nullopt;
  platform::FolderListing listing;
  do {
    const std::string name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      listing.files.push_back(name);
    } else if (name != "." && name != "..") {
      listing.folders.push_back(name);
    }
  } while (FindNextFileA(find.Get(), &data) != FALSE);
  return listing;
}

std::optional<platform::LocalTime> Win32FileSystem::FileLastModified(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) == FALSE ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  FILETIME local{};
  SYSTEMTIME t{};
  if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) == FALSE || FileTimeToSystemTime(&local, &t) == FALSE) {
    return std::nullopt;
  }
  return platform::LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::optional<platform::DriveSpace> Win32FileSystem::DriveSpaceOf(const std::string& driveName) {
  if (driveName.empty()) return std::nullopt;
  const std::string root = driveName.back() == '\\' ? driveName : driveName + "\\";
  ULARGE_INTEGER available{};
  ULARGE_INTEGER total{};
  // A drive that is not ready must fail quietly, not ask the user to insert a disk.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const BOOL read = GetDiskFreeSpaceExA(root.c_str(), &available, &total, nullptr);
  SetErrorMode(previousMode);
  if (read == FALSE) return std::nullopt;
  return platform::DriveSpace{static_cast<double>(total.QuadPart), static_cast<double>(available.QuadPart)};
}

namespace {
std::uint32_t Result(BOOL ok) {
  return ok != FALSE ? 0 : GetLastError();
}
}  // namespace

std::uint32_t Win32FileSystem::RemoveFile(const std::string& path, bool force) {
  if (force) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return Result(DeleteFileA(path.c_str()));
}

std::uint32_t Win32FileSystem::CopyFileTo(const std::string& from, const std::string& to) {
  return Result(CopyFileA(from.c_str(), to.c_str(), FALSE));
}

std::uint32_t Win32FileSystem::RemoveEmptyFolder(const std::string& path) {
  return Result(RemoveDirectoryA(path.c_str()));
}

std::uint32_t Win32FileSystem::SetCurrentFolder(const std::string& path) {
  return Result(SetCurrentDirectoryA(path.c_str()));
}

std::string Win32FileSystem::CurrentFolder() {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  return length == 0 || length >= MAX_PATH ? std::string() : std::string(buffer, length);
}

std::string Win32FileSystem::TemporaryFolder() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH + 1, buffer);
  return length == 0 || length > MAX_PATH ? std::string() : std::string(buffer, length);
}

std::uint32_t Win32FileSystem::HoldExclusive(const std::string& path) {
  // Shared with nobody: a second opener fails with a sharing violation,
  // whatever its account or session; the file goes when the handle closes,
  // also when the program is ended.
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  // ERROR_SHARING_VIOLATION only when another run holds it; a read-only
  // leftover or a denied folder gives ERROR_ACCESS_DENIED, which is no run.
  if (!file) return GetLastError();
  held_ = std::move(file);
  return 0;
}

std::optional<std::string> Win32FileSystem::FolderIdentity(const std::string& path) {
  // No access asked for, every sharing allowed: a folder in use opens all the
  // same; backup semantics open a folder at all.
  UniqueHandle folder(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!folder || !GetFileInformationByHandle(folder.Get(), &info)) return std::nullopt;
  return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
         std::to_string(info.nFileIndexLow);
}

std::string Win32ProgramFacts::CommandLine() {
  return GetCommandLineA();
}

std::string Win32ProgramFacts::InstallFolder() {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string path(buffer, std::min<DWORD>(length, MAX_PATH));
  const auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

platform::OwnVersion Win32ProgramFacts::Version() {
  return platform::kOwnVersion;
}

int Win32UserInterface::MessageBox(const std::string& text, const std::string& title, unsigned buttons) {
  return ::MessageBoxA(static_cast<HWND>(owner_), text.c_str(), title.c_str(), buttons);
}

bool Win32UserInterface::SetClipboardText(const std::string& text) {
  ClipboardSession clipboard(static_cast<HWND>(owner_));
  if (!clipboard.Open() || EmptyClipboard() == FALSE) return false;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (memory == nullptr) return false;
  if (void* target = GlobalLock(memory)) {
    std::memcpy(target, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
  }
  if (SetClipboardData(CF_TEXT, memory) == nullptr) {
    GlobalFree(memory);  // the clipboard did not take it over
    return false;
  }
  return true;
}

std::string Win32UserInterface::BrowseForFolder() {
  // The new dialog style (0x40) needs COM in a single-threaded apartment.
  const ComApartment com;
  BROWSEINFOA request{};
  request.hwndOwner = static_cast<HWND>(owner_);
  request.lpszTitle = "";
  request.ulFlags = 0x43;  // file-system folders only, not below the domain, new dialog style
  UniqueItemIdList item(SHBrowseForFolderA(&request));
  if (!item) return {};
  char path[MAX_PATH] = {};
  if (SHGetPathFromIDListA(item.Get(), path) == FALSE) return {};
  return std::string(path, strnlen(path, MAX_PATH));
}

std::intptr_t Win32UserInterface::RunShellExecute(const std::string& verb, const std::string& file,
                                                  const std::string& parameters, const std::string& directory,
                                                  int showCommand) {
  const auto orNull = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
  return reinterpret_cast<std::intptr_t>(::ShellExecuteA(static_cast<HWND>(owner_), orNull(verb), file.c_str(),
                                                         orNull(parameters), orNull(directory), showCommand));
}

void Win32UserInterface::SetWaitPointer(bool busy) {
  SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Win32UserInterface::PumpMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    if (message.message == WM_QUIT) {
      // The main loop must still see it and end the program.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (owner_ != nullptr && IsDialogMessageA(static_cast<HWND>(owner_), &message) != FALSE) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

platform::LocalTime Win32Clock::Now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

bool Win32ProcessControl::SetProcessPriority(std::uint32_t priorityClass) {
  UniqueHandle process(OpenProcess(PROCESS_SET_INFORMATION, TRUE, GetCurrentProcessId()));
  return process && SetPriorityClass(process.Get(), priorityClass) != FALSE;
}

namespace {

// Starts the program suspended, so that it can join its job before it can
// start anything. A program inside a job of its own (a scheduled task, say)
// can on Windows before 8 join no other: it breaks away where its job allows,
// and otherwise starts without a job of ours and is later ended alone.
bool CreateSuspended(std::string& commandLine, STARTUPINFOA& startup, PROCESS_INFORMATION& started) {
  for (const DWORD flags : {DWORD{CREATE_SUSPENDED | CREATE_BREAKAWAY_FROM_JOB}, DWORD{CREATE_SUSPENDED}}) {
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                       &started) != FALSE) {
      return true;
    }
    if (GetLastError() != ERROR_ACCESS_DENIED) return false;
  }
  return false;
}

UniqueHandle JobHolding(HANDLE process) {
  UniqueHandle job(CreateJobObjectA(nullptr, nullptr));
  if (job && AssignProcessToJobObject(job.Get(), process) == FALSE) job.Reset();
  return job;
}

// Waits up to five seconds until no program of the job runs any more, so
// that the files they held are free when the caller goes on. False when
// programs of the job still run (or the job cannot tell).
bool AwaitEmptyJob(HANDLE job) {
  for (int i = 0; i < 100; ++i) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr) == FALSE) {
      return false;
    }
    if (info.ActiveProcesses == 0) return true;
    Sleep(50);
  }
  return false;
}

constexpr UINT kEndedExitCode = 1;

}  // namespace

platform::ProcessStart Win32ProcessControl::StartProcess(const std::string& commandLine, int windowStyle) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle == platform::kWindowNormalFocus      ? SW_SHOWNORMAL
                                          : windowStyle == platform::kWindowMinimizedFocus ? SW_SHOWMINIMIZED
                                                                                           : SW_HIDE);
  PROCESS_INFORMATION started{};
  std::string writable = commandLine;  // CreateProcessA may write into its command line
  if (!CreateSuspended(writable, startup, started)) return {0, GetLastError()};
  UniqueHandle thread(started.hThread);
  Held held{UniqueHandle(started.hProcess), JobHolding(started.hProcess)};
  ResumeThread(thread.Get());
  held_[started.dwProcessId] = std::move(held);
  return {started.dwProcessId, 0};
}

std::uint32_t Win32ProcessControl::WaitForProcessId(std::uint32_t processId, std::uint32_t timeoutMs) {
  if (const auto held = held_.find(processId); held != held_.end()) {
    return WaitForSingleObject(held->second.process.Get(), timeoutMs);
  }
  UniqueHandle process(OpenProcess(SYNCHRONIZE, TRUE, processId));
  if (!process) return platform::kWaitFailed;
  return WaitForSingleObject(process.Get(), timeoutMs);
}

std::optional<std::uint32_t> Win32ProcessControl::ExitCodeOf(std::uint32_t processId) {
  const auto held = held_.find(processId);
  if (held == held_.end() || WaitForSingleObject(held->second.process.Get(), 0) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  if (GetExitCodeProcess(held->second.process.Get(), &code) == FALSE) return std::nullopt;
  return code;
}

platform::EndedTree Win32ProcessControl::EndProcessTree(std::uint32_t processId) {
  const auto held = held_.find(processId);
  if (held == held_.end()) return platform::EndedTree::kNothing;
  if (held->second.job && TerminateJobObject(held->second.job.Get(), kEndedExitCode) != FALSE) {
    // "With the programs it started" only once none of them runs.
    if (AwaitEmptyJob(held->second.job.Get())) return platform::EndedTree::kWithItsPrograms;
    WaitForSingleObject(held->second.process.Get(), 5000);
    return platform::EndedTree::kProgramAlone;
  }
  // Without a job only the program itself can be reached; the programs it
  // started run on.
  HANDLE process = held->second.process.Get();
  if (TerminateProcess(process, kEndedExitCode) == FALSE && WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
    return platform::EndedTree::kNothing;
  }
  WaitForSingleObject(process, 5000);
  return platform::EndedTree::kProgramAlone;
}

void Win32ProcessControl::ReleaseProcess(std::uint32_t processId) {
  held_.erase(processId);
}

}  // namespace fernwick::win32
