#pragma once
// The names that Windows Server 2003 with an English user interface gives
// language identifiers (VerLanguageNameA), for the image platform.
#include <cstdint>
#include <string>

namespace fernwick::image {

// "Language Neutral" for an identifier Windows does not know, as Windows
// answers it.
std::string WindowsLanguageName(std::uint32_t languageId);

}  // namespace fernwick::image
