#pragma once
// How much of one query's answer is held. A runaway statement (a recursive
// view, a cross join) would otherwise fill the process's memory before its
// time limit ends it: past either bound the rest is not read and the query
// fails with an error that names the bound. `bytes` counts each field's
// text and its own bookkeeping, so a flood of empty fields is bounded too.
#include <cstddef>

namespace fernwick::odbc {

struct AnswerCeiling {
  std::size_t rows;
  std::size_t bytes;
};

// The rows match what a capture may record for one query.
inline constexpr AnswerCeiling kAnswerCeiling{1048576, std::size_t{256} * 1024 * 1024};

}  // namespace fernwick::odbc
