#include "platform/win32/win32_version_resources.h"

#include "platform/win32/windows_api.h"

#include <algorithm>
#include <cstring>

namespace fernwick::win32 {
namespace {

// GetFileVersionInfoA's buffer; VerQueryValueA answers pointers into it.
class Win32VersionBlock : public platform::VersionBlock {
 public:
  explicit Win32VersionBlock(std::vector<char> buffer) : buffer_(std::move(buffer)) {}

  std::optional<platform::FixedFileInfo> Fixed() const override {
    auto [value, length] = Query("\\");
    if (value == nullptr || length == 0) return std::nullopt;
    platform::FixedFileInfo fixed;
    static_assert(sizeof fixed == sizeof(VS_FIXEDFILEINFO));
    std::memcpy(&fixed, value, std::min<std::size_t>(length, sizeof fixed));
    return fixed;
  }

  std::vector<std::uint32_t> Translations() const override {
    auto [value, length] = Query("\\VarFileInfo\\Translation");
    std::vector<std::uint32_t> entries(value == nullptr ? 0 : length / sizeof(std::uint32_t));
    if (!entries.empty()) std::memcpy(entries.data(), value, entries.size() * sizeof(std::uint32_t));
    return entries;
  }

  std::optional<std::string> StringValue(const std::string& path) const override {
    auto [value, length] = Query(path);
    if (value == nullptr) return std::nullopt;
    // The length counts characters including the terminating zero; the text
    // ends at the first zero.
    const char* text = static_cast<const char*>(value);
    return std::string(text, strnlen(text, length));
  }

 private:
  std::pair<const void*, UINT> Query(const std::string& path) const {
    void* value = nullptr;
    UINT length = 0;
    // VerQueryValueA takes a non-const block: the ANSI form converts texts
    // into room reserved inside it.
    if (!VerQueryValueA(const_cast<char*>(buffer_.data()), path.c_str(), &value, &length)) return {nullptr, 0};
    return {value, length};
  }

  std::vector<char> buffer_;
};

}  // namespace

std::uint32_t Win32VersionResources::InfoSize(const std::string& path) {
  DWORD handle = 0;
  return GetFileVersionInfoSizeA(path.c_str(), &handle);
}

std::unique_ptr<platform::VersionBlock> Win32VersionResources::Load(const std::string& path) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) return nullptr;
  std::vector<char> buffer(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, buffer.data())) return nullptr;
  return std::make_unique<Win32VersionBlock>(std::move(buffer));
}

std::string Win32VersionResources::LanguageName(std::uint32_t languageId) {
  char name[256] = {};
  const DWORD length = VerLanguageNameA(languageId, name, sizeof name);
  // Windows counts the characters without the terminating zero; Wine counts
  // the zero too. The name ends at the first zero either way.
  return std::string(name, strnlen(name, std::min<DWORD>(length, sizeof name)));
}

}  // namespace fernwick::win32
