#include "shell/localize.h"

#include <algorithm>
#include <array>

#include "common/text.h"
#include "shell/description_trap.h"
#include "shell/window_texts.h"

namespace fernwick::shell {
namespace {

struct LanguageCode {
  std::string_view code;
  std::uint16_t lcid;
};

constexpr std::array<LanguageCode, 39> kLanguageCodes = {{
    {"ENU", 0x0409}, {"ENG", 0x0809}, {"ENA", 0x0C09}, {"ENC", 0x1009}, {"ENZ", 0x1409}, {"ENI", 0x1809},
    {"DEU", 0x0407}, {"DES", 0x0807}, {"DEA", 0x0C07}, {"DEL", 0x1007}, {"DEC", 0x1407}, {"ESP", 0x040A},
    {"ESM", 0x080A}, {"ESN", 0x0C0A}, {"ESG", 0x100A}, {"ESC", 0x140A}, {"ESA", 0x180A}, {"ESD", 0x1C0A},
    {"ESV", 0x200A}, {"ESO", 0x240A}, {"ESR", 0x280A}, {"ESS", 0x2C0A}, {"ESH", 0x480A}, {"ESI", 0x4C0A},
    {"ESU", 0x500A}, {"FRA", 0x040C}, {"FRB", 0x080C}, {"FRC", 0x0C0C}, {"FRS", 0x100C}, {"FRL", 0x140C},
    {"ITA", 0x0410}, {"ITS", 0x0810}, {"JPN", 0x0411}, {"NLD", 0x0413}, {"NLB", 0x0813}, {"NOR", 0x0414},
    {"NON", 0x0814}, {"PTB", 0x0416}, {"PTG", 0x0816},
}};

constexpr std::uint32_t kEnglishUnitedStates = 1033;

}  // namespace

std::string LanguageCodeFromLCID(std::uint16_t lcid) {
  if (lcid == 0) return "ENU";
  for (const auto& entry : kLanguageCodes) {
    if (entry.lcid == lcid) return std::string(entry.code);
  }
  return "ERROR";
}

std::uint32_t LCIDFromLanguageCode(std::string_view code) {
  for (const auto& entry : kLanguageCodes) {
    if (entry.code == code) return entry.lcid;
  }
  return kEnglishUnitedStates;
}

LanguageFont FontForLanguage(std::uint32_t lcid) {
  switch (lcid) {
    case 1041: return {128, "\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF"};
    case 1042: return {129, "\uAD74\uB9BC"};
    case 1028: return {136, "\u65B0\u7D30\u660E\u9AD4"};
    case 2052: return {134, "\u5B8B\u4F53"};
    default: return {1, ""};
  }
}

Localizer::~Localizer() {
  FreeLibrary();
}

void Localizer::AddWindow(LocalizedWindow& window) {
  if (std::find(windows_.begin(), windows_.end(), &window) == windows_.end()) windows_.push_back(&window);
}

void Localizer::RemoveWindow(LocalizedWindow& window) {
  std::erase(windows_, &window);
}

void Localizer::FreeLibrary() {
  if (languageDllHandle_ != 0) services_.libraries.Free(languageDllHandle_);
  languageDllHandle_ = 0;
}

void Localizer::InitalizeLanguages() {
  const auto step = [this](auto&& statement) {
    RunOrShowDescription(services_.boxes, "Error in InitalizeLanguages: ", statement);
  };
  const std::string folder = services_.program.InstallFolder();
  const std::string programName = services_.libraries.ProgramName();
  step([&] {
    if (currentLangID_ == 0) currentLangID_ = services_.libraries.UserDefaultLangID();
  });
  step([&] { FreeLibrary(); });
  step([&] {
    const auto code = LanguageCodeFromLCID(static_cast<std::uint16_t>(currentLangID_));
    languageDllHandle_ = services_.libraries.LoadAsDataFile(folder + "\\" + programName + "_" + code + ".dll");
  });
  step([&] {
    std::vector<std::string> codes;
    for (const auto& name : services_.libraries.FileNames(folder)) {
      // The code is the three characters before ".dll".
      if (name.size() >= programName.size() + 1 + 7 && StartsWithNoCase(name, programName + "_") &&
          EqualsNoCase(std::string_view(name).substr(name.size() - 3), "DLL")) {
        codes.push_back(name.substr(name.size() - 7, 3));
      }
    }
    if (codes.empty()) codes.emplace_back();
    availableLanguageCodes_ = std::move(codes);
  });
  const LanguageFont font = FontForLanguage(currentLangID_);
  for (auto* window : windows_) window->ApplyFormFonts(font);
}

std::string Localizer::LanguageNameFromLCID(std::uint32_t lcid) {
  const std::string name = services_.versions.LanguageName(lcid);
  return name.empty() ? "(error)" : name;
}

std::string Localizer::LanguageNameFromCode(std::string_view code) {
  return LanguageNameFromLCID(LCIDFromLanguageCode(code));
}

void Localizer::ChooseLanguage(std::uint32_t lcid) {
  currentLangID_ = lcid;
  languageChosen_ = true;
  InitalizeLanguages();
  const LanguageFont font = FontForLanguage(currentLangID_);
  for (auto* window : windows_) {
    window->ApplyFormFonts(font);
    window->AutoInit();
    window->RepaintControls();
  }
}

std::optional<std::string> Localizer::Translation(std::string_view english) const {
  const auto id = TextIdOf(english);
  if (!languageChosen_ || !id || languageDllHandle_ == 0) return std::nullopt;
  auto text = services_.libraries.LoadText(languageDllHandle_, *id);
  if (!text || text->empty()) return std::nullopt;
  return text;
}

}  // namespace fernwick::shell
