#include "report/report_utf8.h"

#include "common/ansi_code_page.h"

namespace fernwick::report {

std::string ReportUtf8(platform::CodePages& codePages, std::uint32_t codePage, std::string_view text) {
  if (auto converted = codePages.ToUtf8(text, codePage)) return *std::move(converted);
  return AnsiToUtf8(text);
}

}  // namespace fernwick::report
