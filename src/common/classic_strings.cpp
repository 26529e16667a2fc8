#include "common/classic_strings.h"

#include <algorithm>

#include "common/runtime_error.h"
#include "common/text.h"

namespace fernwick {

std::size_t InStr(std::size_t start, std::string_view text, std::string_view needle, bool noCase) {
  if (start < 1) Raise(err::kInvalidProcedureCall);
  if (start > text.size() + 1) return 0;
  if (needle.empty()) return start;
  const auto from = text.begin() + static_cast<std::ptrdiff_t>(start - 1);
  const auto found = noCase ? std::search(from, text.end(), needle.begin(), needle.end(),
                                          [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); })
                            : std::search(from, text.end(), needle.begin(), needle.end());
  return found == text.end() ? 0 : static_cast<std::size_t>(found - text.begin()) + 1;
}

std::size_t InStrRev(std::string_view text, std::string_view needle) {
  const auto found = text.rfind(needle);
  return found == std::string_view::npos ? 0 : found + 1;
}

std::string Mid(std::string_view text, long long start) {
  if (start < 1) Raise(err::kInvalidProcedureCall);
  if (static_cast<std::size_t>(start) > text.size()) return {};
  return std::string(text.substr(static_cast<std::size_t>(start - 1)));
}

std::string Mid(std::string_view text, long long start, long long length) {
  if (length < 0) Raise(err::kInvalidProcedureCall);
  const std::string rest = Mid(text, start);
  return rest.substr(0, static_cast<std::size_t>(std::min<long long>(length, static_cast<long long>(rest.size()))));
}

std::string Left(std::string_view text, long long length) {
  if (length < 0) Raise(err::kInvalidProcedureCall);
  return std::string(
      text.substr(0, static_cast<std::size_t>(std::min<long long>(length, static_cast<long long>(text.size())))));
}

}  // namespace fernwick
