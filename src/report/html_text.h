#pragma once
// Report and table text in an HTML page of the ANSI code page (1252).
#include <string>
#include <string_view>

namespace fernwick::report {

// `text` with &, <, >, " as entities and control characters other than tab
// as "?", so that any report line gives well-formed markup.
std::string HtmlText(std::string_view text);

}  // namespace fernwick::report
