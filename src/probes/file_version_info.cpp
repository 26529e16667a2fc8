#include "probes/file_version_info.h"

#include <optional>

#include "common/text.h"

namespace fernwick {
namespace {

constexpr std::uint32_t kUsEnglish = 0x0409;

struct Predefined {
  const char* label;
  const char* key;  // nullptr for the language, which has no string-table key
};

// Indexed like CFileVersionInfo's values: the order is part of the
// PredefinedName/PredefinedValue interface.
constexpr std::array<Predefined, 15> kPredefined{{
    {"Language", nullptr},
    {"Comments", "Comments"},
    {"Company Name", "CompanyName"},
    {"File Description", "FileDescription"},
    {"File Version", "FileVersion"},
    {"Internal Name", "InternalName"},
    {"Legal Copyright", "LegalCopyright"},
    {"Legal Trademarks", "LegalTrademarks"},
    {"Original Filename", "OriginalFilename"},
    {"Product Name", "ProductName"},
    {"Product Version", "ProductVersion"},
    {"Private Build", "PrivateBuild"},
    {"Special Build", "SpecialBuild"},
    {"LegalTrademarks1", "LegalTrademarks1"},
    {"LegalTrademarks2", "LegalTrademarks2"},
}};

// The halves of a version word are read as signed 16-bit numbers, so a half
// above 32767 comes out negative.
std::int16_t LowHalf(std::uint32_t value) {
  return static_cast<std::int16_t>(value & 0xFFFFu);
}
std::int16_t HighHalf(std::uint32_t value) {
  return static_cast<std::int16_t>(value >> 16);
}

// 6.5.8190.0 reads 6.05.819000 and 4.0.0.950 reads 4.00.0950: the third
// part, when positive, runs straight into the fourth.
std::string VersionText(std::uint32_t mostSignificant, std::uint32_t leastSignificant) {
  std::string text =
      DecimalPadded(HighHalf(mostSignificant), 1) + "." + DecimalPadded(LowHalf(mostSignificant), 2) + ".";
  if (HighHalf(leastSignificant) > 0) {
    text += DecimalPadded(HighHalf(leastSignificant), 2) + DecimalPadded(LowHalf(leastSignificant), 2);
  } else {
    text += DecimalPadded(LowHalf(leastSignificant), 4);
  }
  return text;
}

std::string FlagsText(std::uint32_t flags) {
  static constexpr std::array<std::pair<std::uint32_t, const char*>, 6> kFlags{{
      {0x1, "Debug "},
      {0x2, "PreRel "},
      {0x4, "Patched "},
      {0x8, "Private "},
      {0x10, "Info "},
      {0x20, "Special "},
  }};
  std::string text;
  for (const auto& [bit, name] : kFlags) {
    if ((flags & bit) != 0) text += name;
  }
  return Trim(text);
}

std::string OsText(std::uint32_t os) {
  switch (os) {
    case 0x10001: return "DOS-Win16";
    case 0x10004: return "DOS-Win32";
    case 0x20002: return "OS/2-16 PM-16";
    case 0x30003: return "OS/2-16 PM-32";
    case 0x40004: return "NT-Win32";
    default: return "Unknown";
  }
}

constexpr std::uint32_t kTypeDriver = 3;
constexpr std::uint32_t kTypeFont = 4;

std::string TypeText(std::uint32_t type) {
  switch (type) {
    case 1: return "Application";
    case 2: return "DLL";
    case kTypeDriver: return "Driver";
    case kTypeFont: return "Font";
    case 5: return "VxD";
    case 7: return "Lib";
    default: return "Unknown";
  }
}

// Names for driver and font subtypes; nullopt where the subtype has no name,
// which leaves the previous FileSubType in place.
std::optional<std::string> SubTypeText(std::uint32_t type, std::uint32_t subType) {
  static constexpr std::array<const char*, 11> kDrivers{"Unknown",     "Printer drv", "Keyboard drv", "Language drv",
                                                        "Display drv", "Mouse drv",   "Network drv",  "System drv",
                                                        "Installable", "Sound drv",   "Comm drv"};
  static constexpr std::array<const char*, 3> kFonts{"Raster Font", "Vector Font", "TrueType Font"};
  if (type == kTypeDriver && subType < kDrivers.size()) return kDrivers[subType];
  if (type == kTypeFont && subType >= 1 && subType <= kFonts.size()) return kFonts[subType - 1];
  return std::nullopt;
}

std::string StringTablePath(std::uint32_t language, std::uint32_t codePage) {
  return "\\StringFileInfo\\" + HexPadded(language, 4) + HexPadded(codePage, 4) + "\\";
}

std::string ValueAt(const platform::VersionBlock& block, const std::string& path) {
  return block.StringValue(path).value_or(std::string());
}

}  // namespace

CFileVersionInfo::CFileVersionInfo(platform::VersionResources& versions, platform::FileSystem& files)
    : versions_(versions), files_(files) {}

void CFileVersionInfo::FullPathName(std::string_view path) {
  std::optional<std::string> full = files_.FullPathName(std::string(path));
  if (!full) return;
  fullPathName_ = *full;
  Refresh();
}

std::string CFileVersionInfo::PredefinedName(std::int32_t which) const {
  if (which < 0 || which >= static_cast<std::int32_t>(kPredefined.size())) return {};
  return kPredefined[static_cast<std::size_t>(which)].label;
}

std::string CFileVersionInfo::PredefinedValue(std::int32_t which) const {
  if (which < 0 || which >= static_cast<std::int32_t>(values_.size())) return {};
  return values_[static_cast<std::size_t>(which)];
}

void CFileVersionInfo::Refresh() {
  if (versions_.InfoSize(fullPathName_) == 0) {
    available_ = false;
    return;
  }
  // The size said there is a block; if it cannot be read after all (the
  // file went away in between), the file counts as having none.
  std::unique_ptr<platform::VersionBlock> block = versions_.Load(fullPathName_);
  if (!block) {
    available_ = false;
    return;
  }
  available_ = true;

  // A block without a fixed part keeps the fixed-block members, as a block
  // without a translation keeps the string-table members.
  if (std::optional<platform::FixedFileInfo> fixed = block->Fixed()) ReadFixedBlock(*fixed);

  std::vector<std::uint32_t> translations = block->Translations();
  if (translations.empty()) return;
  ReadStringTable(*block, translations.front());
}

void CFileVersionInfo::ReadFixedBlock(const platform::FixedFileInfo& fixed) {
  verStructure_ = std::to_string(fixed.strucVersion >> 16) + "." + std::to_string(fixed.strucVersion & 0xFFFFu);
  verFile_ = VersionText(fixed.fileVersionMS, fixed.fileVersionLS);
  verProduct_ = VersionText(fixed.productVersionMS, fixed.productVersionLS);
  fileFlags_ = FlagsText(fixed.fileFlags);
  fileOS_ = OsText(fixed.fileOS);
  fileType_ = TypeText(fixed.fileType);
  if (std::optional<std::string> subType = SubTypeText(fixed.fileType, fixed.fileSubtype)) fileSubType_ = *subType;
}

void CFileVersionInfo::ReadStringTable(const platform::VersionBlock& block, std::uint32_t translation) {
  const std::uint32_t language = translation & 0xFFFFu;
  const std::uint32_t codePage = translation >> 16;
  values_[kLanguage] = versions_.LanguageName(language);

  // Many files declare one language but carry their strings only in a US
  // English table; "CompanyName" decides which table is read.
  std::string basePath = StringTablePath(language, codePage);
  values_[kCompanyName] = ValueAt(block, basePath + kPredefined[kCompanyName].key);
  if (values_[kCompanyName].empty()) {
    const std::string fallbackPath = StringTablePath(kUsEnglish, codePage);
    std::string company = ValueAt(block, fallbackPath + kPredefined[kCompanyName].key);
    if (!company.empty()) {
      basePath = fallbackPath;
      values_[kCompanyName] = std::move(company);
    }
  }

  for (std::size_t index = kComments; index < kValueCount; ++index) {
    if (index == kCompanyName) continue;
    values_[index] = ValueAt(block, basePath + kPredefined[index].key);
  }
}

}  // namespace fernwick
