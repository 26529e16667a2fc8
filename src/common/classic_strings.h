#pragma once
// The runtime's substring functions with their 1-based positions and their
// failures, for the report code that cuts command output and server texts
// exactly as the lines were always cut.
#include <cstddef>
#include <string>
#include <string_view>

namespace fernwick {

// 1-based position of `needle` in `text` at or after `start` (letter case
// ignored when `noCase`); 0 when absent. An empty needle is found at `start`.
// A start below 1 is error 5.
std::size_t InStr(std::size_t start, std::string_view text, std::string_view needle, bool noCase = false);
// 1-based position of the last `needle` in `text`; 0 when absent.
std::size_t InStrRev(std::string_view text, std::string_view needle);
// `length` characters from the 1-based `start` (to the end when `length`
// is omitted); "" past the end. A start below 1 or a negative length is
// error 5 ("Invalid procedure call or argument").
std::string Mid(std::string_view text, long long start);
std::string Mid(std::string_view text, long long start, long long length);
// The first `length` characters; a negative length is error 5.
std::string Left(std::string_view text, long long length);

}  // namespace fernwick
