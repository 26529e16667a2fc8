#pragma once
// frmAbout without the window: the version label, the language menu and the
// language choice. The Win32 About window forwards its events here.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/program_facts.h"
#include "shell/localize.h"

namespace fernwick::shell {

// An item of the language menu mnuLanguageList.
struct LanguageMenuItem {
  std::string caption;
  std::string tag;  // the language identifier as text
  friend bool operator==(const LanguageMenuItem&, const LanguageMenuItem&) = default;
};

// " 2.0 Build 4": the major version and the revision with a leading blank.
std::string VersionLabel(const platform::OwnVersion& version);

class AboutPresenter {
 public:
  AboutPresenter(Localizer& localizer, platform::ProgramFacts& program, MessageBoxes& boxes)
      : localizer_(localizer), program_(program), boxes_(boxes) {}

  // Form_Load: the version label and the language menu.
  void FormLoad();
  // mnuLanguageList_Click: switches every loaded window to the item's language.
  void LanguageChosen(std::size_t index);

  const std::string& Version() const { return version_; }
  const std::vector<LanguageMenuItem>& LanguageMenu() const { return menu_; }

 private:
  Localizer& localizer_;
  platform::ProgramFacts& program_;
  MessageBoxes& boxes_;
  std::string version_;
  std::vector<LanguageMenuItem> menu_{{"LanguageList", ""}};
};

}  // namespace fernwick::shell
