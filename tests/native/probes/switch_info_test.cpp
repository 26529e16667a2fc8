#include "probes/switch_info.h"

#include <gtest/gtest.h>

#include "native/probes/fakes.h"

namespace fernwick::probes {
namespace {

using fakes::kHklm;
using fakes::ProbeWorld;

const std::string kIntegrations = std::string(kHklm) + "Software\\Tessaline\\MIU\\1.0\\initialization\\integrations";
const std::string kInitializeError9 =
    "Error 9 (Subscript out of range) in procedure InitalizeSwitchInfo of Module modSwitchInfo";

ProductVersion Version(std::int16_t major, std::int16_t minor, std::int16_t release, std::int16_t build) {
  ProductVersion version;
  version.iMajor = major;
  version.iMinor = minor;
  version.iRelease = release;
  version.iBuild = build;
  return version;
}

const ProductVersion kCurrentServer = Version(4, 2, 0, 27);
const ProductVersion kOldServer = Version(4, 2, 0, 26);

struct Switches {
  ProbeWorld world;
  SwitchInfo info{world.registry, world.boxes};

  void AddIntegration(const std::string& subkey, const std::string& displayName, std::uint32_t id) {
    world.registry.SetString(kIntegrations + "\\" + subkey, "DisplayName", displayName);
    world.registry.SetDword(kIntegrations + "\\" + subkey, "IntegrationID", id);
  }

  // "name, ID=id" of entry n, as the telephony section prints it.
  std::string Entry(std::int16_t n) {
    std::string name = "unset";
    std::int16_t id = -99;
    info.GetSwitchInfoBySwitchCount(n, name, id);
    return name + ", ID=" + std::to_string(id);
  }
};

// ---- current servers: one subkey per integration ------------------------------

TEST(SwitchInfo, CurrentServerListsEveryIntegrationInEnumerationOrder) {
  Switches switches;
  switches.AddIntegration("Integration B", "Harbor", 7);
  switches.AddIntegration("Integration A", "Kestrel", 3);
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  EXPECT_EQ(switches.info.SwitchCount(), 2);
  EXPECT_EQ(switches.Entry(1), "Kestrel, ID=3");
  EXPECT_EQ(switches.Entry(2), "Harbor, ID=7");
  EXPECT_TRUE(switches.world.ui.shown.empty());
  EXPECT_EQ(switches.world.registry.OpenHandleCount(), 0u);
}

TEST(SwitchInfo, CurrentServerMissingValuesGiveEmptyNameAndIdZero) {
  Switches switches;
  switches.world.registry.CreateKey(kIntegrations + "\\Integration1");
  switches.info.InitalizeSwitchInfo(Version(5, 0, 0, 0));
  EXPECT_EQ(switches.info.SwitchCount(), 1);
  EXPECT_EQ(switches.Entry(1), ", ID=0");
  EXPECT_TRUE(switches.world.ui.shown.empty());
}

TEST(SwitchInfo, CurrentServerWithoutSubkeysReadsTheIntegrationsKeyItself) {
  Switches switches;
  switches.world.registry.SetString(kIntegrations, "DisplayName", "Root");
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  EXPECT_EQ(switches.info.SwitchCount(), 1);
  EXPECT_EQ(switches.Entry(1), "Root, ID=0");
  EXPECT_TRUE(switches.world.ui.shown.empty());
}

TEST(SwitchInfo, CurrentServerWithoutIntegrationsKeyShowsErrorsAndKeepsTheCount) {
  Switches switches;
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  EXPECT_EQ(switches.info.SwitchCount(), 0);
  // Both the count and the walk over the list take its size.
  EXPECT_EQ(switches.world.ShownTexts(), (std::vector<std::string>{kInitializeError9, kInitializeError9}));
}

TEST(SwitchInfo, MissingIntegrationsKeyOnASecondRunKeepsTheEarlierEntries) {
  Switches switches;
  switches.AddIntegration("Integration A", "Kestrel", 3);
  switches.AddIntegration("Integration B", "Harbor", 7);
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  switches.world.registry.DeleteKey(kIntegrations);
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  EXPECT_EQ(switches.info.SwitchCount(), 2);
  EXPECT_EQ(switches.Entry(2), "Harbor, ID=7");
  EXPECT_EQ(switches.world.ui.shown.size(), 2u);
}

TEST(SwitchInfo, SecondRunWithFewerIntegrationsDropsTheRest) {
  Switches switches;
  switches.AddIntegration("Integration A", "Kestrel", 3);
  switches.AddIntegration("Integration B", "Harbor", 7);
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  switches.world.registry.DeleteKey(kIntegrations + "\\Integration B");
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  EXPECT_EQ(switches.info.SwitchCount(), 1);
  EXPECT_EQ(switches.info.SwitchNames(), std::vector<std::string>{"Kestrel"});
  EXPECT_EQ(switches.info.SwitchIDs(), std::vector<std::int16_t>{3});
  EXPECT_EQ(switches.Entry(2), "Error - bad switch number passed in:2, ID=-1");
}

TEST(SwitchInfo, IntegrationIdTooLargeFor16BitsShowsOverflowAndStaysZero) {
  Switches switches;
  switches.AddIntegration("Integration A", "Kestrel", 70000);
  switches.AddIntegration("Integration B", "Harbor", 0xFFFFFFFF);
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  EXPECT_EQ(switches.info.SwitchCount(), 2);
  EXPECT_EQ(switches.Entry(1), "Kestrel, ID=0");
  EXPECT_EQ(switches.Entry(2), "Harbor, ID=-1");
  EXPECT_EQ(switches.world.ShownTexts(),
            std::vector<std::string>{"Error 6 (Overflow) in procedure InitalizeSwitchInfo of Module modSwitchInfo"});
}

TEST(SwitchInfo, SilentRunRecordsTheMessagesInsteadOfShowingThem) {
  Switches switches;
  switches.world.session.bSilentMode = true;
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  EXPECT_TRUE(switches.world.ui.shown.empty());
  EXPECT_EQ(switches.world.boxes.Recorded(), (std::vector<std::string>{kInitializeError9, kInitializeError9}));
}

// ---- servers before 4.2(0.27): fixed keys ---------------------------------------

TEST(SwitchInfo, OldServerWithOnlyIntegration1HasOneEntryWithIdZero) {
  Switches switches;
  switches.world.registry.SetString(kIntegrations + "\\integration1", "DisplayName", "Osprey");
  switches.info.InitalizeSwitchInfo(kOldServer);
  EXPECT_EQ(switches.info.SwitchCount(), 1);
  EXPECT_EQ(switches.Entry(1), "Osprey, ID=0");
  EXPECT_EQ(switches.Entry(2), "Error - bad switch number passed in:2, ID=-1");
}

TEST(SwitchInfo, OldServerWithIntegration2HasTwoEntriesWithIdsZeroAndOne) {
  Switches switches;
  switches.world.registry.SetString(kIntegrations + "\\integration1", "DisplayName", "Osprey");
  switches.world.registry.SetString(kIntegrations + "\\integration2", "DisplayName", "SIP");
  // Old servers carry no IntegrationID; one that is there anyway is ignored.
  switches.world.registry.SetDword(kIntegrations + "\\integration2", "IntegrationID", 9);
  switches.info.InitalizeSwitchInfo(kOldServer);
  EXPECT_EQ(switches.info.SwitchCount(), 2);
  EXPECT_EQ(switches.Entry(1), "Osprey, ID=0");
  EXPECT_EQ(switches.Entry(2), "SIP, ID=1");
}

TEST(SwitchInfo, OldServerListsIntegration1EvenWhenItsKeyIsMissing) {
  Switches switches;
  switches.world.registry.SetString(kIntegrations + "\\Integration A", "DisplayName", "Ignored");
  switches.info.InitalizeSwitchInfo(Version(3, 0, 0, 0));
  EXPECT_EQ(switches.info.SwitchCount(), 1);
  EXPECT_EQ(switches.Entry(1), ", ID=0");
  EXPECT_TRUE(switches.world.ui.shown.empty());
}

// ---- handing out entries -----------------------------------------------------

TEST(SwitchInfo, NumberOutsideTheListGivesThePlaceholderAndIdMinusOne) {
  Switches switches;
  switches.AddIntegration("Integration A", "Kestrel", 3);
  switches.AddIntegration("Integration B", "Harbor", 7);
  switches.info.InitalizeSwitchInfo(kCurrentServer);
  EXPECT_EQ(switches.Entry(0), "Error - bad switch number passed in:0, ID=-1");
  EXPECT_EQ(switches.Entry(3), "Error - bad switch number passed in:3, ID=-1");
  EXPECT_EQ(switches.Entry(-2), "Error - bad switch number passed in:-2, ID=-1");
  EXPECT_TRUE(switches.world.ui.shown.empty());
}

TEST(SwitchInfo, BeforeLoadingEveryNumberGivesThePlaceholder) {
  Switches switches;
  EXPECT_EQ(switches.info.SwitchCount(), 0);
  EXPECT_EQ(switches.Entry(1), "Error - bad switch number passed in:1, ID=-1");
}

}  // namespace
}  // namespace fernwick::probes
