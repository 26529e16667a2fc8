#include "platform/image/windows_language_names.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace fernwick::image {
namespace {

struct LanguageName {
  std::uint16_t id;
  std::string_view name;
};

// Sorted by identifier. Texts are ANSI (code page 1252).
constexpr std::array kLanguageNames = std::to_array<LanguageName>({
    {0x0000, "Language Neutral"},
    {0x0401, "Arabic (Saudi Arabia)"},
    {0x0402, "Bulgarian"},
    {0x0403, "Catalan"},
    {0x0404, "Chinese (Taiwan)"},
    {0x0405, "Czech"},
    {0x0406, "Danish"},
    {0x0407, "German (Germany)"},
    {0x0408, "Greek"},
    {0x0409, "English (United States)"},
    {0x040A, "Spanish (Traditional Sort)"},
    {0x040B, "Finnish"},
    {0x040C, "French (France)"},
    {0x040D, "Hebrew"},
    {0x040E, "Hungarian"},
    {0x040F, "Icelandic"},
    {0x0410, "Italian (Italy)"},
    {0x0411, "Japanese"},
    {0x0412, "Korean"},
    {0x0413, "Dutch (Netherlands)"},
    {0x0414, "Norwegian (Bokm\xE5l)"},
    {0x0415, "Polish"},
    {0x0416, "Portuguese (Brazil)"},
    {0x0418, "Romanian"},
    {0x0419, "Russian"},
    {0x041A, "Croatian"},
    {0x041B, "Slovak"},
    {0x041C, "Albanian"},
    {0x041D, "Swedish"},
    {0x041E, "Thai"},
    {0x041F, "Turkish"},
    {0x0421, "Indonesian"},
    {0x0422, "Ukrainian"},
    {0x0424, "Slovenian"},
    {0x0425, "Estonian"},
    {0x0426, "Latvian"},
    {0x0427, "Lithuanian"},
    {0x042A, "Vietnamese"},
    {0x0804, "Chinese (PRC)"},
    {0x0807, "German (Switzerland)"},
    {0x0809, "English (United Kingdom)"},
    {0x080A, "Spanish (Mexico)"},
    {0x080C, "French (Belgium)"},
    {0x0810, "Italian (Switzerland)"},
    {0x0813, "Dutch (Belgium)"},
    {0x0814, "Norwegian (Nynorsk)"},
    {0x0816, "Portuguese (Portugal)"},
    {0x081D, "Swedish (Finland)"},
    {0x0C04, "Chinese (Hong Kong S.A.R.)"},
    {0x0C07, "German (Austria)"},
    {0x0C09, "English (Australia)"},
    {0x0C0A, "Spanish (International Sort)"},
    {0x0C0C, "French (Canada)"},
    {0x1004, "Chinese (Singapore)"},
    {0x1007, "German (Luxembourg)"},
    {0x1009, "English (Canada)"},
    {0x100A, "Spanish (Guatemala)"},
    {0x100C, "French (Switzerland)"},
    {0x1404, "Chinese (Macau S.A.R.)"},
    {0x1407, "German (Liechtenstein)"},
    {0x1409, "English (New Zealand)"},
    {0x140A, "Spanish (Costa Rica)"},
    {0x140C, "French (Luxembourg)"},
    {0x1809, "English (Ireland)"},
    {0x180A, "Spanish (Panama)"},
    {0x1C09, "English (South Africa)"},
    {0x1C0A, "Spanish (Dominican Republic)"},
    {0x200A, "Spanish (Venezuela)"},
    {0x240A, "Spanish (Colombia)"},
    {0x280A, "Spanish (Peru)"},
    {0x2C0A, "Spanish (Argentina)"},
    {0x480A, "Spanish (Honduras)"},
    {0x4C0A, "Spanish (Nicaragua)"},
    {0x500A, "Spanish (Puerto Rico)"},
});

static_assert(std::is_sorted(kLanguageNames.begin(), kLanguageNames.end(),
                             [](const LanguageName& a, const LanguageName& b) { return a.id < b.id; }));

}  // namespace

std::string WindowsLanguageName(std::uint32_t languageId) {
  const auto id = static_cast<std::uint16_t>(languageId & 0xFFFFu);
  const auto* found =
      std::lower_bound(kLanguageNames.begin(), kLanguageNames.end(), id,
                       [](const LanguageName& entry, std::uint16_t wanted) { return entry.id < wanted; });
  if (found == kLanguageNames.end() || found->id != id) return std::string(kLanguageNames.front().name);
  return std::string(found->name);
}

}  // namespace fernwick::image
