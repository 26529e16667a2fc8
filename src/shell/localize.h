#pragma once
// modLocalize: the language libraries beside the program, the mapping
// between language identifiers and three-letter codes, the fonts East Asian
// languages need, and the windows' texts in the chosen language.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/message_boxes.h"
#include "platform/language_libraries.h"
#include "platform/program_facts.h"
#include "platform/version_resources.h"

namespace fernwick::shell {

// "ERROR" for an identifier outside the code table, "ENU" for 0.
std::string LanguageCodeFromLCID(std::uint16_t lcid);
// 1033 for a code outside the table (compared exactly, upper case).
std::uint32_t LCIDFromLanguageCode(std::string_view code);

struct LanguageFont {
  int charset = 1;
  // UTF-8; empty: the window keeps the face it was designed with.
  std::string faceName;
};
LanguageFont FontForLanguage(std::uint32_t lcid);

// A loaded window of the program, as the language choice reaches it.
class LocalizedWindow {
 public:
  virtual ~LocalizedWindow() = default;
  // Sets the character set and face name on the font of every control.
  virtual void ApplyFormFonts(const LanguageFont& font) = 0;
  // The window's "_Auto_Init": reloads its texts in the current language.
  virtual void AutoInit() = 0;
  virtual void RepaintControls() = 0;
};

struct LocalizeServices {
  platform::LanguageLibraries& libraries;
  platform::VersionResources& versions;
  platform::ProgramFacts& program;
  MessageBoxes& boxes;
};

class Localizer {
 public:
  explicit Localizer(LocalizeServices services) : services_(services) {}
  ~Localizer();
  Localizer(const Localizer&) = delete;
  Localizer& operator=(const Localizer&) = delete;

  // The program's window collection: windows join when they load and leave
  // when they go.
  void AddWindow(LocalizedWindow& window);
  void RemoveWindow(LocalizedWindow& window);

  // Loads the library of CurrentLangID (the user's language at first),
  // lists the libraries beside the program and applies the fonts to every
  // loaded window.
  void InitalizeLanguages();
  // The platform's name of a language, "(error)" when it has none.
  std::string LanguageNameFromLCID(std::uint32_t lcid);
  std::string LanguageNameFromCode(std::string_view code);
  // The language choice: loads the language, then every window applies its
  // fonts, reloads its texts and repaints.
  void ChooseLanguage(std::uint32_t lcid);

  // The chosen language's text (UTF-8) for a window text. Nothing is
  // translated until a language is chosen, although opening About loads
  // the library of the user's language: the windows' texts then change
  // language together. Without a translation the window shows the text
  // itself, which is ANSI like every other text of the program.
  std::optional<std::string> Translation(std::string_view english) const;

  std::uint32_t CurrentLangID() const { return currentLangID_; }
  std::uintptr_t LanguageDllHandle() const { return languageDllHandle_; }
  const std::vector<std::string>& AvailableLanguageCodes() const { return availableLanguageCodes_; }

 private:
  void FreeLibrary();

  LocalizeServices services_;
  std::uint32_t currentLangID_ = 0;
  std::uintptr_t languageDllHandle_ = 0;
  bool languageChosen_ = false;
  std::vector<std::string> availableLanguageCodes_{""};
  std::vector<LocalizedWindow*> windows_;
};

}  // namespace fernwick::shell
