#pragma once
// Text in HTML pages: the help page (ASCII) and the summary page (UTF-8).
#include <string>
#include <string_view>

namespace fernwick::report {

// `text` with &, <, >, " as entities and every other byte as it is: the
// spelling a name has inside markup.
std::string HtmlEscaped(std::string_view text);

// `text` with &, <, >, " as entities and control characters other than tab
// as "?", so that any line gives well-formed markup.
std::string HtmlText(std::string_view text);

// The same for UTF-8 text; a control character other than tab (C0, DEL,
// C1) becomes U+FFFD, which HTML cannot carry otherwise.
std::string HtmlUtf8Text(std::string_view utf8);

}  // namespace fernwick::report
