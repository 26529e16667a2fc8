#pragma once
// The windows' own texts (captions of controls and menus) with the string
// identifiers under which a language library carries their translation.
#include <array>
#include <optional>
#include <string_view>

#include "shell/window_text_ids.h"

namespace fernwick::shell {

struct WindowText {
  unsigned id;
  std::string_view english;
};

// The notices of the About window.
inline constexpr std::array<std::string_view, 5> kLegalNotices = {
    "Fernwick diagnostic gatherer for Voxtra servers",
    "Copyright (C) 2026 Norvane Systems. All rights reserved.",
    "Fernwick reads the server's settings and never changes them.",
    "Norvane Systems, Voxtra Technical Support",
    "14 Harrow Lane, Kelmscott KC4 2RN, United Kingdom",
};

inline constexpr std::array<WindowText, 22> kWindowTexts = {{
    {IDS_LABEL1, "Select directory to save CAB file to:"},
    {IDS_BROWSE, "Browse..."},
    {IDS_WRITE_TO_FILE, "Write To File"},
    {IDS_EXIT, "Exit"},
    {IDS_GO, "Go"},
    {IDS_WORKING, "Working..."},
    {IDS_FINISHED, "FINISHED"},
    {IDS_MENU_FILE, "File"},
    {IDS_MENU_PASTE_TO_CLIPBOARD, "Paste to Clipboard"},
    {IDS_MENU_HELP, "Help"},
    {IDS_MENU_ABOUT, "About"},
    {IDS_MENU_CHECK_FOR_UPDATED_VERSION, "Check for updated version"},
    {IDS_GATHERING, "Gathering data, please wait..."},
    {IDS_VERSION_TITLE, "Version:"},
    {IDS_CHANGE_LANGUAGE, "Change Language"},
    {IDS_OK, "OK"},
    {IDS_NO_LANGUAGES_LOADED, "no languages loaded"},
    {IDS_NOTICE_1, kLegalNotices[0]},
    {IDS_NOTICE_2, kLegalNotices[1]},
    {IDS_NOTICE_3, kLegalNotices[2]},
    {IDS_NOTICE_4, kLegalNotices[3]},
    {IDS_NOTICE_5, kLegalNotices[4]},
}};

// The identifier of a window text; nullopt for any other text (the report,
// the greeting, paths), which is never translated.
constexpr std::optional<unsigned> TextIdOf(std::string_view english) {
  for (const auto& text : kWindowTexts) {
    if (text.english == english) return text.id;
  }
  return std::nullopt;
}

}  // namespace fernwick::shell
