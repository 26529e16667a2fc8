// cabmaker.exe: "cabmaker /f directives.ddf", the cabinet written by
// cabinet.dll.
#include "platform/win32/windows_api.h"

#include <cstdio>

#include "cabmaker/cabmaker_run.h"
#include "cabmaker/win32/fci_writer.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_handles.h"

namespace {

using fernwick::win32::SystemMessage;
using fernwick::win32::UniqueHandle;

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
