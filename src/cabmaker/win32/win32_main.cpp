// cabmaker.exe: "cabmaker /f directives.ddf [/l list.txt]", the cabinet
// written by cabinet.dll.
#include "platform/win32/windows_api.h"

#include <cctype>
#include <cstdio>
#include <string>

#include "cabmaker/cabmaker_run.h"
#include "cabmaker/win32/fci_writer.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_handles.h"

namespace {

using fernwick::win32::SystemMessage;
using fernwick::win32::UniqueFindHandle;
using fernwick::win32::UniqueHandle;

// Windows compares file names without regard to case.
bool StartsWithIgnoringCase(const std::string& text, const std::string& start) {
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(start[i]))) {
      return false;
    }
  }
  return true;
}

class Win32Host : public fernwick::cabmaker::CabinetHost {
 public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string content;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) != FALSE && got > 0) content.append(chunk, got);
    return content;
  }
  std::optional<std::uint64_t> ReadableSize(const std::string& path, std::string& reason) override {
    UniqueHandle file(fernwick::cabmaker::OpenSourceFile(path));
    LARGE_INTEGER size{};
    if (!file || GetFileSizeEx(file.Get(), &size) == FALSE) {
      reason = SystemMessage(GetLastError());
      return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
  }
  bool FolderExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  bool CreateFolder(const std::string& path) override { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return static_cast<bool>(file) &&
           WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE &&
           written == bytes.size();
  }
  void RemoveFile(const std::string& path) override { DeleteFileA(path.c_str()); }
  bool ReplaceFile(const std::string& from, const std::string& to, std::string& reason) override {
    // Fails, leaving `to` as it was, when another program holds it open
    // without sharing deletion, or it is read-only.
    // The new cabinet's bytes reach the disk before its name does.
    if (HANDLE written = CreateFileA(from.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        written != INVALID_HANDLE_VALUE) {
      FlushFileBuffers(written);
      CloseHandle(written);
    }
    // Antivirus scanners and indexers open a new file briefly: a sharing
    // violation is tried again a few times, a second at most in all.
    for (int attempt = 0;; ++attempt) {
      if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE) {
        return true;
      }
      const DWORD error = GetLastError();
      if (error != ERROR_SHARING_VIOLATION || attempt == 4) {
        reason = SystemMessage(error);
        return false;
      }
      Sleep(200);
    }
  }
  void RemoveFilesStartingWith(const std::string& prefix) override {
    const auto slash = prefix.find_last_of("\\/:");
    const std::string folder = slash == std::string::npos ? std::string() : prefix.substr(0, slash + 1);
    const std::string name = prefix.substr(folder.size());
    WIN32_FIND_DATAA found{};
    UniqueFindHandle find(FindFirstFileA((prefix + "*").c_str(), &found));
    if (!find.Valid()) return;
    do {
      // The pattern also matches short (8.3) names: the long name decides.
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !StartsWithIgnoringCase(found.cFileName, name)) {
        continue;
      }
      const std::string path = folder + found.cFileName;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    } while (FindNextFileA(find.Get(), &found) != FALSE);
  }
  std::string WriteCabinet(const fernwick::cabmaker::CabinetPlan& plan, const std::string& path,
                           std::string& failedSource) override {
    return fernwick::cabmaker::WriteCabinetWithFci(plan, path, failedSource);
  }
  std::optional<std::uint64_t> FileSize(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) == FALSE) return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  void Error(const std::string& line) override {
    std::fputs(line.c_str(), stderr);
    std::fputs("\n", stderr);
  }
};

}  // namespace

int main(int argc, char** argv) {
  Win32Host host;
  return fernwick::cabmaker::RunCabmaker(std::vector<std::string>(argv + 1, argv + argc), host);
}
