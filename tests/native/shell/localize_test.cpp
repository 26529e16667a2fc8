#include "shell/localize.h"

#include <gtest/gtest.h>

#include <map>

#include "common/runtime_error.h"
#include "native/probes/fakes.h"
#include "platform/image/windows_language_names.h"
#include "shell/about_presenter.h"
#include "shell/window_text_ids.h"

namespace fernwick::shell {
namespace {

TEST(LanguageCodes, TheTableMapsBothWaysAndOutsidersGetErrorOrEnglish) {
  const std::pair<const char*, std::uint16_t> table[] = {
      {"ENU", 1033},  {"ENG", 2057},  {"ENA", 3081},  {"ENC", 4105},  {"ENZ", 5129}, {"ENI", 6153}, {"DEU", 1031},
      {"DES", 2055},  {"DEA", 3079},  {"DEL", 4103},  {"DEC", 5127},  {"ESP", 1034}, {"ESM", 2058}, {"ESN", 3082},
      {"ESG", 4106},  {"ESC", 5130},  {"ESA", 6154},  {"ESD", 7178},  {"ESV", 8202}, {"ESO", 9226}, {"ESR", 10250},
      {"ESS", 11274}, {"ESH", 18442}, {"ESI", 19466}, {"ESU", 20490}, {"FRA", 1036}, {"FRB", 2060}, {"FRC", 3084},
      {"FRS", 4108},  {"FRL", 5132},  {"ITA", 1040},  {"ITS", 2064},  {"JPN", 1041}, {"NLD", 1043}, {"NLB", 2067},
      {"NOR", 1044},  {"NON", 2068},  {"PTB", 1046},  {"PTG", 2070},
  };
  for (const auto& [code, lcid] : table) {
    EXPECT_EQ(LanguageCodeFromLCID(lcid), code);
    EXPECT_EQ(LCIDFromLanguageCode(code), lcid);
  }
  EXPECT_EQ(LanguageCodeFromLCID(0), "ENU");
  EXPECT_EQ(LanguageCodeFromLCID(1042), "ERROR");
  EXPECT_EQ(LCIDFromLanguageCode("deu"), 1033u);
  EXPECT_EQ(LCIDFromLanguageCode(""), 1033u);
}

TEST(LanguageFonts, EastAsianLanguagesGetTheirCharsetAndFaceOthersTheDefault) {
  EXPECT_EQ(FontForLanguage(1041).charset, 128);
  EXPECT_EQ(FontForLanguage(1041).faceName, "ＭＳ Ｐゴシック");
  EXPECT_EQ(FontForLanguage(1042).charset, 129);
  EXPECT_EQ(FontForLanguage(1042).faceName, "굴림");
  EXPECT_EQ(FontForLanguage(1028).charset, 136);
  EXPECT_EQ(FontForLanguage(1028).faceName, "新細明體");
  EXPECT_EQ(FontForLanguage(2052).charset, 134);
  EXPECT_EQ(FontForLanguage(2052).faceName, "宋体");
  EXPECT_EQ(FontForLanguage(1031).charset, 1);
  EXPECT_EQ(FontForLanguage(1031).faceName, "");
}

// A program folder with some files; libraries answer their texts by id.
class FakeLibraries : public platform::LanguageLibraries {
 public:
  std::uint16_t UserDefaultLangID() override { return userLanguage; }
  std::string ProgramName() override { return "Fernwick"; }
  std::vector<std::string> FileNames(const std::string& folder) override {
    if (failListing) Raise(err::kPermissionDenied);
    listed.push_back(folder);
    return files;
  }
  std::uintptr_t LoadAsDataFile(const std::string& path) override {
    loads.push_back(path);
    const auto it = texts.find(path);
    if (it == texts.end()) return 0;
    ++open;
    return reinterpret_cast<std::uintptr_t>(&it->second);
  }
  void Free(std::uintptr_t) override { --open; }
  std::optional<std::string> LoadText(std::uintptr_t library, unsigned id) override {
    const auto& table = *reinterpret_cast<std::map<unsigned, std::string>*>(library);
    const auto it = table.find(id);
    return it == table.end() ? std::nullopt : std::optional<std::string>(it->second);
  }

  std::uint16_t userLanguage = 1033;
  bool failListing = false;
  std::vector<std::string> files;
  std::map<std::string, std::map<unsigned, std::string>> texts;
  std::vector<std::string> loads;
  std::vector<std::string> listed;
  int open = 0;
};

class NamingVersions : public platform::VersionResources {
 public:
  std::uint32_t InfoSize(const std::string&) override { return 0; }
  std::unique_ptr<platform::VersionBlock> Load(const std::string&) override { return nullptr; }
  std::string LanguageName(std::uint32_t id) override {
    const auto it = names.find(id);
    if (it != names.end()) return it->second;
    return id == 0x0407 ? "" : image::WindowsLanguageName(id);
  }
  std::map<std::uint32_t, std::string> names;
};

class FixedProgram : public platform::ProgramFacts {
 public:
  std::string CommandLine() override { return ""; }
  std::string InstallFolder() override { return "C:\\Tools"; }
  platform::OwnVersion Version() override { return {2, 5, 117}; }
};

class RecordingWindow : public LocalizedWindow {
 public:
  void ApplyFormFonts(const LanguageFont& font) override {
    log.push_back("font " + std::to_string(font.charset) + " " + font.faceName);
  }
  void AutoInit() override { log.push_back("auto init"); }
  void RepaintControls() override { log.push_back("repaint"); }
  std::vector<std::string> log;
};

struct AboutWorld {
  FakeLibraries libraries;
  NamingVersions versions;
  FixedProgram program;
  fakes::FakeUserInterface ui;
  Session session;
  MessageBoxes boxes{ui, session};
  Localizer localizer{{libraries, versions, program, boxes}};
  AboutPresenter about{localizer, program, boxes};

  std::vector<LanguageMenuItem> MenuWith(std::vector<std::string> files) {
    libraries.files = std::move(files);
    about.FormLoad();
    return about.LanguageMenu();
  }
};

TEST(AboutWindow, VersionLabelHasBlanksBeforeMajorAndRevision) {
  AboutWorld world;
  world.about.FormLoad();
  EXPECT_EQ(world.about.Version(), " 2.5 Build 117");
  EXPECT_EQ(VersionLabel({2, 0, 4}), " 2.0 Build 4");
}

TEST(AboutWindow, NoneOrOneLibraryGivesNoLanguagesLoaded) {
  const std::vector<LanguageMenuItem> none = {{"no languages loaded", "1033"}};
  EXPECT_EQ(AboutWorld().MenuWith({"Fernwick.exe", "Fernwick.htm"}), none);
  EXPECT_EQ(AboutWorld().MenuWith({"Fernwick.exe", "Fernwick_ENU.dll"}), none);
}

TEST(AboutWindow, ThreeLibrariesAreListedInFolderOrderByThePlatformsNames) {
  AboutWorld world;
  const auto menu =
      world.MenuWith({"Fernwick_JPN.dll", "fernwick_deu.DLL", "Fernwick.exe", "Other_ENU.dll", "Fernwick_ENU.dll"});
  EXPECT_EQ(menu,
            (std::vector<LanguageMenuItem>{
                {"Japanese", " 1041"}, {"English (United States)", " 1033"}, {"English (United States)", " 1033"}}));
  EXPECT_EQ(world.localizer.AvailableLanguageCodes(), (std::vector<std::string>{"JPN", "deu", "ENU"}));
  EXPECT_EQ(world.libraries.listed, (std::vector<std::string>{"C:\\Tools"}));
}

TEST(AboutWindow, LanguageNamesStayInTheSystemsAnsiCodePageAndAreNeverTranslated) {
  // VerLanguageNameA of a French system (code page 1252) and of a Japanese
  // one (932, where a trail byte may look like ASCII: 0x7B in the second).
  const std::vector<LanguageMenuItem> table = {
      {"Anglais (\xC9tats-Unis)", " 1033"},
      {"\x93\xFA\x96\x7B\x8C\xEA", " 1041"},
      {"\x83\x68\x83\x43\x83\x63\x8C\xEA", " 1031"},
  };
  AboutWorld world;
  for (const auto& item : table) world.versions.names[static_cast<std::uint32_t>(std::stoul(item.tag))] = item.caption;
  EXPECT_EQ(world.MenuWith({"Fernwick_ENU.dll", "Fernwick_JPN.dll", "Fernwick_DEU.dll"}), table);
  world.localizer.ChooseLanguage(1041);
  for (const auto& item : table) EXPECT_EQ(world.localizer.Translation(item.caption), std::nullopt);
}

TEST(AboutWindow, AFailedStepOfTheLanguageLoadingIsShownAndTheLoadGoesOn) {
  AboutWorld world;
  world.libraries.failListing = true;
  world.libraries.files = {"Fernwick_ENU.dll", "Fernwick_JPN.dll"};
  world.about.FormLoad();
  EXPECT_EQ(world.ui.shown.size(), 1u);
  EXPECT_EQ(world.ui.shown[0].text, "Error in InitalizeLanguages: Permission denied");
  EXPECT_EQ(world.about.LanguageMenu(), (std::vector<LanguageMenuItem>{{"no languages loaded", "1033"}}));
  EXPECT_EQ(world.about.Version(), " 2.5 Build 117");
}

TEST(AboutWindow, APlatformWithoutANameGivesError) {
  AboutWorld world;
  EXPECT_EQ(world.localizer.LanguageNameFromCode("DEU"), "(error)");
}

TEST(Localizer, FirstLoadTakesTheUsersLanguageAndAMissingLibraryIsNoError) {
  AboutWorld world;
  world.libraries.userLanguage = 1042;
  world.localizer.InitalizeLanguages();
  EXPECT_EQ(world.localizer.CurrentLangID(), 1042u);
  EXPECT_EQ(world.libraries.loads, (std::vector<std::string>{"C:\\Tools\\Fernwick_ERROR.dll"}));
  EXPECT_EQ(world.localizer.LanguageDllHandle(), 0u);
  EXPECT_TRUE(world.ui.shown.empty());
}

TEST(Localizer, TheUsersLanguageTranslatesNothingUntilChosenThenEveryWindowTakesFontAndTexts) {
  AboutWorld world;
  world.libraries.userLanguage = 1041;
  world.libraries.texts["C:\\Tools\\Fernwick_ENU.dll"] = {{IDS_BROWSE, "Browse..."}};
  world.libraries.texts["C:\\Tools\\Fernwick_JPN.dll"] = {{IDS_BROWSE, "参照..."}};
  RecordingWindow main;
  RecordingWindow about;
  world.localizer.AddWindow(main);
  world.localizer.AddWindow(about);
  world.localizer.InitalizeLanguages();
  EXPECT_EQ(world.libraries.open, 1);
  EXPECT_EQ(world.localizer.Translation("Browse..."), std::nullopt);
  main.log.clear();
  world.localizer.ChooseLanguage(1041);
  EXPECT_EQ(world.libraries.open, 1);
  const std::string japanese = "font 128 ＭＳ Ｐゴシック";
  EXPECT_EQ(main.log, (std::vector<std::string>{japanese, japanese, "auto init", "repaint"}));
  EXPECT_EQ(world.localizer.Translation("Browse..."), "参照...");
  EXPECT_EQ(world.localizer.Translation("Exit"), std::nullopt);
  EXPECT_EQ(world.localizer.Translation("Press 'Go'"), std::nullopt);
  world.localizer.RemoveWindow(about);
  about.log.clear();
  world.localizer.ChooseLanguage(1033);
  EXPECT_TRUE(about.log.empty());
  EXPECT_EQ(main.log.back(), "repaint");
}

}  // namespace
}  // namespace fernwick::shell
