#include "shell/about_presenter.h"

#include <exception>

#include "shell/description_trap.h"

namespace fernwick::shell {

std::string VersionLabel(const platform::OwnVersion& version) {
  // Appended piece by piece: GCC 12 warns wrongly about " " + std::string.
  std::string label(" ");
  label.append(std::to_string(version.major)).append(".").append(std::to_string(version.minor));
  label.append(" Build ").append(std::to_string(version.revision));
  return label;
}

void AboutPresenter::FormLoad() {
  const auto step = [this](auto&& statement) { RunOrShowDescription(boxes_, "Error in FormLoad routine:", statement); };
  step([&] { version_ = VersionLabel(program_.Version()); });
  step([&] { localizer_.InitalizeLanguages(); });
  step([&] {
    const auto& codes = localizer_.AvailableLanguageCodes();
    if (codes.size() > 1) {
      menu_.clear();
      for (const auto& code : codes) {
        std::string tag(" ");
        tag.append(std::to_string(LCIDFromLanguageCode(code)));
        menu_.push_back({localizer_.LanguageNameFromCode(code), tag});
      }
    } else {
      menu_ = {{"no languages loaded", "1033"}};
    }
  });
}

void AboutPresenter::LanguageChosen(std::size_t index) {
  if (index >= menu_.size()) return;
  try {
    localizer_.ChooseLanguage(static_cast<std::uint32_t>(std::stoul(menu_[index].tag)));
  } catch (const std::exception&) {
    // The language choice skips its failures silently.
  }
}

}  // namespace fernwick::shell
