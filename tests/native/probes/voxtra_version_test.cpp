#include "probes/voxtra_version.h"

#include <gtest/gtest.h>

#include "native/probes/fakes.h"

namespace fernwick::probes {
namespace {

using fakes::kHklm;
using fakes::ProbeWorld;

const std::string kProductKey = std::string(kHklm) + "SOFTWARE\\Norvane Systems\\Norvane Voxtra";
const std::string kLegacyKey = std::string(kHklm) + "Software\\Tessaline";
const std::string kSpecialsKey = std::string(kHklm) + "SOFTWARE\\Tessaline\\Engineering Specials";
const std::string kCommServerKey = std::string(kHklm) + "SOFTWARE\\Tessaline\\CommServer\\1.0";

void SetProductVersion(ProbeWorld& world, std::uint32_t major, std::uint32_t minor, std::uint32_t release,
                       std::uint32_t build) {
  world.registry.SetDword(kProductKey, "MajorVersion", major);
  world.registry.SetDword(kProductKey, "MinorVersion", minor);
  world.registry.SetDword(kProductKey, "ReleaseVersion", release);
  world.registry.SetDword(kProductKey, "BuildVersion", build);
}

void SetLegacyVersion(ProbeWorld& world, std::uint32_t versionNumber, std::uint32_t buildNumber) {
  world.registry.SetDword(kLegacyKey, "Version Number", versionNumber);
  world.registry.SetDword(kLegacyKey, "Build Number", buildNumber);
}

ProductVersion Version(std::int16_t major, std::int16_t minor, std::int16_t release, std::int16_t build) {
  ProductVersion version;
  version.iMajor = major;
  version.iMinor = minor;
  version.iRelease = release;
  version.iBuild = build;
  version.strVersion = std::to_string(major) + "." + std::to_string(minor) + "(" + std::to_string(release) + "." +
                       std::to_string(build) + ")";
  return version;
}

// ---- getVersion -----------------------------------------------------------

TEST(GetVersion, ProductKeyGivesItsFourNumbersAndWinsOverTheLegacyKey) {
  ProbeWorld world;
  SetProductVersion(world, 4, 2, 1, 0);
  SetLegacyVersion(world, 0x30002, 0x10045);
  const ProductVersion version = getVersion(world.registry, world.boxes);
  EXPECT_TRUE(version.bFromProductKey);
  EXPECT_EQ(version.iMajor, 4);
  EXPECT_EQ(version.iMinor, 2);
  EXPECT_EQ(version.iRelease, 1);
  EXPECT_EQ(version.iBuild, 0);
  EXPECT_EQ(version.strVersion, "4.2(1.0)");
  EXPECT_TRUE(world.ui.shown.empty());
  EXPECT_EQ(world.registry.OpenHandleCount(), 0u);
}

TEST(GetVersion, ProductKeyVersionTextHasNoLeadingZerosOrBlanks) {
  ProbeWorld world;
  SetProductVersion(world, 4, 0, 5, 107);
  EXPECT_EQ(getVersion(world.registry, world.boxes).strVersion, "4.0(5.107)");
}

TEST(GetVersion, ProductKeyWithMajorVersionZeroFallsBackToTheLegacyKey) {
  ProbeWorld world;
  SetProductVersion(world, 0, 9, 9, 9);
  SetLegacyVersion(world, 0x40000, 0x30078);
  const ProductVersion version = getVersion(world.registry, world.boxes);
  EXPECT_FALSE(version.bFromProductKey);
  EXPECT_EQ(version.strVersion, "4.0(3.120)");
}

TEST(GetVersion, ProductKeyWithoutMajorVersionFallsBackToTheLegacyKey) {
  ProbeWorld world;
  world.registry.SetDword(kProductKey, "MinorVersion", 2);
  SetLegacyVersion(world, 0x30002, 0x10045);
  const ProductVersion version = getVersion(world.registry, world.boxes);
  EXPECT_FALSE(version.bFromProductKey);
  EXPECT_EQ(version.strVersion, "3.2(1.69)");
}

TEST(GetVersion, MissingProductKeyValuesCountAsZero) {
  ProbeWorld world;
  world.registry.SetDword(kProductKey, "MajorVersion", 5);
  const ProductVersion version = getVersion(world.registry, world.boxes);
  EXPECT_TRUE(version.bFromProductKey);
  EXPECT_EQ(version.strVersion, "5.0(0.0)");
}

TEST(GetVersion, NeitherKeyGivesVersionZero) {
  ProbeWorld world;
  const ProductVersion version = getVersion(world.registry, world.boxes);
  EXPECT_FALSE(version.bFromProductKey);
  EXPECT_EQ(version.iMajor, 0);
  EXPECT_EQ(version.iMinor, 0);
  EXPECT_EQ(version.iRelease, 0);
  EXPECT_EQ(version.iBuild, 0);
  EXPECT_EQ(version.strVersion, "0.0(0.0)");
  EXPECT_TRUE(world.ui.shown.empty());
}

TEST(GetVersion, LegacyKeyWithoutValuesGivesVersionZero) {
  ProbeWorld world;
  world.registry.CreateKey(kLegacyKey);
  const ProductVersion version = getVersion(world.registry, world.boxes);
  EXPECT_FALSE(version.bFromProductKey);
  EXPECT_EQ(version.strVersion, "0.0(0.0)");
  EXPECT_TRUE(world.ui.shown.empty());
}

TEST(GetVersion, LegacyHexDigitsAreReadAsDecimalExceptTheBuild) {
  ProbeWorld world;
  SetLegacyVersion(world, 0x40000, 0x30078);
  EXPECT_EQ(getVersion(world.registry, world.boxes).strVersion, "4.0(3.120)");
}

TEST(GetVersion, LegacyHexLetterEndsTheDecimalReading) {
  ProbeWorld world;
  // Hex digits 1B2C 000A and 00A1 0010: a letter ends the decimal number.
  SetLegacyVersion(world, 0x1B2C000A, 0x00A10010);
  const ProductVersion version = getVersion(world.registry, world.boxes);
  EXPECT_EQ(version.iMajor, 1);
  EXPECT_EQ(version.iMinor, 0);
  EXPECT_EQ(version.iRelease, 0);
  EXPECT_EQ(version.iBuild, 16);
  EXPECT_TRUE(world.ui.shown.empty());
}

TEST(GetVersion, LegacyBuildHalfReadsAsSigned16BitHexadecimal) {
  ProbeWorld world;
  SetLegacyVersion(world, 0x50000, 0x0002FFFF);
  EXPECT_EQ(getVersion(world.registry, world.boxes).strVersion, "5.0(2.-1)");
}

TEST(GetVersion, OverflowingFieldShowsMessageBoxAndKeepsZeroWhileTheOthersAreRead) {
  ProbeWorld world;
  SetProductVersion(world, 4, 70000, 1, 2);
  const ProductVersion version = getVersion(world.registry, world.boxes);
  EXPECT_TRUE(version.bFromProductKey);
  EXPECT_EQ(version.strVersion, "4.0(1.2)");
  ASSERT_EQ(world.ui.shown.size(), 1u);
  EXPECT_EQ(world.ui.shown[0].text, "(error):6 (Overflow) in procedure getVersion of Module VoxtraVersion");
  EXPECT_EQ(world.ui.shown[0].title, "Fernwick");
  EXPECT_EQ(world.ui.shown[0].buttons, platform::kMbOk);
}

TEST(GetVersion, EveryOverflowingFieldGetsItsOwnMessageBox) {
  ProbeWorld world;
  SetProductVersion(world, 4, 2, 0x10000, 0xFFFFFFFF);
  const ProductVersion version = getVersion(world.registry, world.boxes);
  // 0xFFFFFFFF is -1 as a 32-bit number and fits; 65536 does not.
  EXPECT_EQ(version.strVersion, "4.2(0.-1)");
  EXPECT_EQ(world.ShownTexts(),
            std::vector<std::string>{"(error):6 (Overflow) in procedure getVersion of Module VoxtraVersion"});
}

TEST(GetVersion, SilentRunRecordsTheMessageInsteadOfShowingIt) {
  ProbeWorld world;
  world.session.bSilentMode = true;
  SetProductVersion(world, 40000, 2, 1, 0);
  const ProductVersion version = getVersion(world.registry, world.boxes);
  EXPECT_EQ(version.strVersion, "0.2(1.0)");
  EXPECT_TRUE(world.ui.shown.empty());
  EXPECT_EQ(world.boxes.Recorded(),
            std::vector<std::string>{"(error):6 (Overflow) in procedure getVersion of Module VoxtraVersion"});
}

// ---- bIsVersionGreaterThanOrEqualTo ---------------------------------------

TEST(IsVersionGreaterThanOrEqualTo, AskingFor421_0DependsOnTheInstalledVersion) {
  EXPECT_TRUE(bIsVersionGreaterThanOrEqualTo(Version(4, 2, 1, 0), 4, 2, 1, 0));
  EXPECT_FALSE(bIsVersionGreaterThanOrEqualTo(Version(4, 2, 0, 27), 4, 2, 1, 0));
  EXPECT_TRUE(bIsVersionGreaterThanOrEqualTo(Version(5, 0, 0, 0), 4, 2, 1, 0));
}

TEST(IsVersionGreaterThanOrEqualTo, FirstDifferingFieldDecides) {
  EXPECT_FALSE(bIsVersionGreaterThanOrEqualTo(Version(4, 9, 9, 9), 5, 0, 0, 0));
  EXPECT_TRUE(bIsVersionGreaterThanOrEqualTo(Version(4, 3, 0, 0), 4, 2, 9, 9));
  EXPECT_TRUE(bIsVersionGreaterThanOrEqualTo(Version(4, 2, 1, 0), 4, 2, 0, 27));
  EXPECT_FALSE(bIsVersionGreaterThanOrEqualTo(Version(4, 2, 0, 26), 4, 2, 0, 27));
  EXPECT_TRUE(bIsVersionGreaterThanOrEqualTo(Version(4, 2, 0, 27), 4, 2, 0, 27));
}

TEST(IsVersionGreaterThanOrEqualTo, FieldsCompareAsSignedNumbers) {
  EXPECT_FALSE(bIsVersionGreaterThanOrEqualTo(Version(4, 0, 2, -1), 4, 0, 2, 0));
}

TEST(IsVersionGreaterThanOrEqualTo, VersionZeroIsBelowEveryRelease) {
  EXPECT_FALSE(bIsVersionGreaterThanOrEqualTo(ProductVersion{}, 4, 0, 0, 10));
}

TEST(VoxtraVersionObject, GatesReadTheAssignedCurrentVersion) {
  ProbeWorld world;
  SetProductVersion(world, 4, 2, 1, 0);
  VoxtraVersion voxtra(world.registry, world.files, world.boxes);
  EXPECT_EQ(voxtra.CurrentVersion.strVersion, "");
  EXPECT_FALSE(voxtra.bIsVersionGreaterThanOrEqualTo(4, 0, 0, 10));
  voxtra.CurrentVersion = voxtra.getVersion();
  EXPECT_TRUE(voxtra.bIsVersionGreaterThanOrEqualTo(4, 0, 0, 10));
  EXPECT_FALSE(voxtra.bIsVersionGreaterThanOrEqualTo(5, 0, 0, 0));
}

// ---- strListESesInstalled -------------------------------------------------

void AddSpecial(ProbeWorld& world, const std::string& name, std::uint32_t installed, std::uint32_t type) {
  world.registry.SetDword(kSpecialsKey + "\\" + name, "Installed", installed);
  world.registry.SetDword(kSpecialsKey + "\\" + name, "Engineering Special Type", type);
}

std::string Specials(ProbeWorld& world, const ProductVersion& version) {
  return strListESesInstalled(version, world.registry, world.files, world.boxes);
}

constexpr std::int32_t kCumulative = 1;
constexpr std::int32_t kPrivate = 2;
constexpr std::int32_t kFriendly = 3;

TEST(ListESesInstalled, LaterCumulativeSpecialReplacesTheEarlierOne) {
  ProbeWorld world;
  AddSpecial(world, "NV4.2(1)ES10", 1, kCumulative);
  AddSpecial(world, "NV4.2(1)ES12", 1, kCumulative);
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)), "\r\n        Cumulative : NV4.2(1)ES12\r\n");
}

TEST(ListESesInstalled, CumulativeFriendlyAndPrivateLinesFollowEachOther) {
  ProbeWorld world;
  AddSpecial(world, "NV4.2(1)ES12", 1, kCumulative);
  AddSpecial(world, "NV4.2(1)FR1", 1, kFriendly);
  AddSpecial(world, "NV4.2(1)FR2", 1, kFriendly);
  AddSpecial(world, "NV4.2(1)PR7", 1, kPrivate);
  // With a cumulative special the backup folder is not looked at.
  world.registry.SetString(kCommServerKey, "Root Path", "C:\\Voxtra\\");
  world.files.AddFolder("C:\\Voxtra\\EngineeringSpecialBackup", {"Old"});
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 3)),
            "\r\n        Cumulative : NV4.2(1)ES12"
            "\r\n        Friendly :  NV4.2(1)FR1 NV4.2(1)FR2"
            "\r\n        Private :  NV4.2(1)PR7\r\n");
}

TEST(ListESesInstalled, OneFriendlySpecialWithoutBackupFolderSaysCumulativeNone) {
  ProbeWorld world;
  AddSpecial(world, "NV4.2(1)FR1", 1, kFriendly);
  world.registry.SetString(kCommServerKey, "Root Path", "C:\\Voxtra\\");
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)),
            "\r\n        Cumulative : None\r\n        Friendly :  NV4.2(1)FR1\r\n");
}

TEST(ListESesInstalled, WithoutRootPathTheBlockGetsNoClosingLineEnd) {
  ProbeWorld world;
  AddSpecial(world, "NV4.2(1)PR1", 1, kPrivate);
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)), "\r\n        Cumulative : None\r\n        Private :  NV4.2(1)PR1");
}

TEST(ListESesInstalled, UninstalledOtherReleaseAndUnknownTypeSpecialsAreNotListed) {
  ProbeWorld world;
  AddSpecial(world, "NV4.2(1)ES1", 0, kCumulative);
  AddSpecial(world, "NV4.2(0)ES2", 1, kCumulative);
  AddSpecial(world, "NV4.2(1)ES3", 1, 4);
  world.registry.SetDword(kSpecialsKey + "\\NV4.2(1)ES4", "Engineering Special Type", kCumulative);
  world.registry.SetString(kCommServerKey, "Root Path", "C:\\Voxtra\\");
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)), "");
  EXPECT_TRUE(world.ui.shown.empty());
}

TEST(ListESesInstalled, FamilyPrefixIsFoundAnywhereInTheNameIgnoringCase) {
  ProbeWorld world;
  AddSpecial(world, "ES-nv4.2(1)-7", 1, kCumulative);
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)), "\r\n        Cumulative : ES-nv4.2(1)-7\r\n");
}

TEST(ListESesInstalled, TwoDigitMajorStillGivesFiveCharactersToTheFamilyPrefix) {
  ProbeWorld world;
  AddSpecial(world, "NV10.0()ES1", 1, kCumulative);
  AddSpecial(world, "NV10.0(1)ES2", 1, kFriendly);
  EXPECT_EQ(Specials(world, Version(10, 0, 1, 0)), "\r\n        Cumulative : NV10.0()ES1\r\n");
}

TEST(ListESesInstalled, BackupFolderNamesAloneAreJoinedByCommas) {
  ProbeWorld world;
  world.registry.SetString(kCommServerKey, "Root Path", "C:\\Voxtra\\");
  world.files.AddFolder("C:\\Voxtra\\EngineeringSpecialBackup", {"ES21", "ES22"});
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)), "ES21, ES22\r\n");
}

TEST(ListESesInstalled, BackupFolderNamesStandBeforeTheRegistryBlock) {
  ProbeWorld world;
  AddSpecial(world, "NV4.2(1)FR1", 1, kFriendly);
  world.registry.SetString(kCommServerKey, "Root Path", "C:\\Voxtra\\");
  world.files.AddFolder("C:\\Voxtra\\EngineeringSpecialBackup", {"ES21", "ES22"});
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)),
            "ES21, ES22\r\n        Cumulative : None\r\n        Friendly :  NV4.2(1)FR1\r\n");
}

TEST(ListESesInstalled, EmptyBackupFolderAndNoSpecialsGiveNothing) {
  ProbeWorld world;
  world.registry.CreateKey(kSpecialsKey);
  world.registry.SetString(kCommServerKey, "Root Path", "C:\\Voxtra\\");
  world.files.AddFolder("C:\\Voxtra\\EngineeringSpecialBackup");
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)), "");
}

TEST(ListESesInstalled, BackupFolderNameIsAppendedToTheRootPathWithoutSeparator) {
  ProbeWorld world;
  world.registry.SetString(kCommServerKey, "Root Path", "C:\\Voxtra");
  world.files.AddFolder("C:\\Voxtra\\EngineeringSpecialBackup", {"Wrong"});
  world.files.AddFolder("C:\\VoxtraEngineeringSpecialBackup", {"Right"});
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)), "Right\r\n");
}

TEST(ListESesInstalled, NothingAnywhereGivesNothing) {
  ProbeWorld world;
  EXPECT_EQ(Specials(world, Version(4, 2, 1, 0)), "");
  EXPECT_TRUE(world.ui.shown.empty());
  EXPECT_EQ(world.registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace fernwick::probes
