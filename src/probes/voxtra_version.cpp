#include "probes/voxtra_version.h"

#include <tuple>

#include "common/conversions.h"
#include "common/text.h"
#include "probes/procedure_trap.h"
#include "probes/reg_value_number.h"
#include "probes/registry_api.h"

namespace fernwick::probes {
namespace {

constexpr platform::RegKey kHklm = platform::kHkeyLocalMachine;
constexpr const char* kProductKey = "SOFTWARE\\Norvane Systems\\Norvane Voxtra";
constexpr const char* kLegacyKey = "Software\\Tessaline\\";
constexpr const char* kSpecialsKey = "SOFTWARE\\Tessaline\\Engineering Specials";
constexpr const char* kCommServerKey = "SOFTWARE\\Tessaline\\CommServer\\1.0";

constexpr std::int16_t kKindDword = static_cast<std::int16_t>(RegKind::Dword);

constexpr std::int32_t kCumulative = 1;
constexpr std::int32_t kPrivate = 2;
constexpr std::int32_t kFriendly = 3;

std::string Left(const std::string& text, std::size_t count) {
  return text.substr(0, count);
}

std::string Right(const std::string& text, std::size_t count) {
  return text.size() <= count ? text : text.substr(text.size() - count);
}

ProcedureTrap Trap(MessageBoxes& boxes, const char* procedure) {
  return ProcedureTrap(boxes, "(error):", std::string(" in procedure ") + procedure + " of Module VoxtraVersion");
}

}  // namespace

ProductVersion getVersion(platform::Registry& registry, MessageBoxes& boxes) {
  ProcedureTrap trap = Trap(boxes, "getVersion");
  ProductVersion version;
  const auto dword = [&](const char* key, const char* name) {
    return RegValueNumber(RegGetValue(registry, kHklm, key, name, kKindDword, std::int32_t{0}));
  };
  // A 32-bit registry number in a 16-bit field overflows (error 6).
  const auto field = [&](const char* key, const char* name) { return CInt(std::int64_t{dword(key, name)}); };

  if (trap.If([&] { return RegKeyExists(registry, kHklm, kProductKey) && dword(kProductKey, "MajorVersion") > 0; })) {
    trap.Run([&] { version.iMajor = field(kProductKey, "MajorVersion"); });
    trap.Run([&] { version.iMinor = field(kProductKey, "MinorVersion"); });
    trap.Run([&] { version.iBuild = field(kProductKey, "BuildVersion"); });
    trap.Run([&] { version.iRelease = field(kProductKey, "ReleaseVersion"); });
    version.bFromProductKey = true;
  } else if (trap.If([&] { return RegKeyExists(registry, kHklm, kLegacyKey); })) {
    // The legacy numbers hold two 16-bit halves whose hexadecimal digits are
    // read back as decimal: 0x00040000 is version 4.0. Only the build half
    // is genuinely hexadecimal.
    std::string versionHex;
    std::string buildHex;
    trap.Run([&] { versionHex = HexPadded(static_cast<std::uint32_t>(dword(kLegacyKey, "Version Number")), 8); });
    trap.Run([&] { buildHex = HexPadded(static_cast<std::uint32_t>(dword(kLegacyKey, "Build Number")), 8); });
    trap.Run([&] { version.iMajor = CInt(Val(Left(versionHex, 4))); });
    trap.Run([&] { version.iMinor = CInt(Val(Right(versionHex, 4))); });
    trap.Run([&] { version.iRelease = CInt(Val(Left(buildHex, 4))); });
    trap.Run([&] { version.iBuild = CInt("&H" + Right(buildHex, 4)); });
  }

  version.strVersion = std::to_string(version.iMajor) + "." + std::to_string(version.iMinor) + "(" +
                       std::to_string(version.iRelease) + "." + std::to_string(version.iBuild) + ")";
  return version;
}

bool bIsVersionGreaterThanOrEqualTo(const ProductVersion& CurrentVersion, std::int16_t major, std::int16_t minor,
                                    std::int16_t release, std::int16_t build) {
  return std::tie(CurrentVersion.iMajor, CurrentVersion.iMinor, CurrentVersion.iRelease, CurrentVersion.iBuild) >=
         std::tie(major, minor, release, build);
}

std::string strListESesInstalled(const ProductVersion& CurrentVersion, platform::Registry& registry,
                                 platform::FileSystem& files, MessageBoxes& boxes) {
  ProcedureTrap trap = Trap(boxes, "strListESesInstalled");
  const std::string crlf(kCrLf);
  std::string cumulative;
  std::string friendly;
  std::string privates;
  std::string block;

  if (RegKeyExists(registry, kHklm, kSpecialsKey)) {
    // Specials are named after the release family they patch, e.g.
    // NV4.2(1)... for every 4.2(1.x) build. Only the first five characters
    // of the version text count, whatever the lengths of its numbers.
    const std::string family = "NV" + Left(CurrentVersion.strVersion, 5) + ")";
    for (const std::string& name : RegEnumSubkeys(registry, kHklm, kSpecialsKey)) {
      const std::string key = std::string(kSpecialsKey) + "\\" + name;
      std::int32_t installed = 0;
      std::int32_t type = 0;
      trap.Run([&] { installed = RegValueNumber(RegGetValue(registry, kHklm, key, "Installed", kKindDword)); });
      trap.Run(
          [&] { type = RegValueNumber(RegGetValue(registry, kHklm, key, "Engineering Special Type", kKindDword)); });
      if (!ContainsNoCase(name, family) || installed != 1) continue;
      switch (type) {
        case kCumulative: cumulative = crlf + "        Cumulative : " + name; break;
        case kFriendly: friendly += " " + name; break;
        case kPrivate: privates += " " + name; break;
        default: break;
      }
    }
    if (!friendly.empty()) friendly = crlf + "        Friendly : " + friendly;
    if (!privates.empty()) privates = crlf + "        Private : " + privates;
    if (!cumulative.empty()) return cumulative + friendly + privates + crlf;
    if (!friendly.empty() || !privates.empty()) block = crlf + "        Cumulative : None" + friendly + privates;
  }

  // Without a cumulative special the backup folder tells which specials
  // were applied by hand: its subfolders are named after them.
  std::string rootPath;
  trap.Run([&] { rootPath = RegGetString(registry, kCommServerKey, "Root Path"); });
  if (rootPath.empty()) return block;
  const std::string backupFolder = rootPath + "EngineeringSpecialBackup";
  if (!files.FolderExists(backupFolder)) return block.empty() ? block : block + crlf;
  std::string names;
  for (const std::string& folder : files.SubFolderNames(backupFolder)) {
    if (!names.empty()) names += ", ";
    names += folder;
  }
  if (names.empty() && block.empty()) return {};
  return names + block + crlf;
}

}  // namespace fernwick::probes
