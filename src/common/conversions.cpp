#include "common/conversions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "common/runtime_error.h"

namespace fernwick {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::optional<double> ParseRadix(std::string_view digits, int radix) {
  if (digits.empty() || digits.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                  : (radix == 16 && std::isxdigit(static_cast<unsigned char>(c)))
                      ? std::toupper(static_cast<unsigned char>(c)) - 'A' + 10
                      : 99;
    if (d >= radix) return std::nullopt;
    value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
  }
  // "&H" literals are 16- or 32-bit two's complement, as the runtime reads them.
  if (value <= 0xFFFF) return static_cast<double>(static_cast<std::int16_t>(value));
  if (value <= 0xFFFFFFFF) return static_cast<double>(static_cast<std::int32_t>(value));
  return std::nullopt;
}

std::optional<double> ParseNumber(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  const std::string_view body = text.substr(begin, end - begin);
  if (body.empty()) return std::nullopt;
  if (body.size() > 2 && body[0] == '&') {
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(body[1])));
    if (kind == 'H') return ParseRadix(body.substr(2), 16);
    if (kind == 'O') return ParseRadix(body.substr(2), 8);
    return std::nullopt;
  }
  std::size_t i = 0;
  if (body[i] == '+' || body[i] == '-') ++i;
  std::size_t digits = 0;
  while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) ++i, ++digits;
  if (i < body.size() && body[i] == '.') {
    ++i;
    while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i]))) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < body.size() && (body[j] == '+' || body[j] == '-')) ++j;
    const std::size_t expStart = j;
    while (j < body.size() && std::isdigit(static_cast<unsigned char>(body[j]))) ++j;
    if (j == expStart) return std::nullopt;
    i = j;
  }
  if (i != body.size()) return std::nullopt;
  return std::strtod(std::string(body).c_str(), nullptr);
}

double RoundHalfEven(double value) {
  return std::nearbyint(value);
}

template <typename Int>
Int ToInteger(double value) {
  const double rounded = RoundHalfEven(value);
  if (std::isnan(rounded) || rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    Raise(err::kOverflow);
  }
  return static_cast<Int>(rounded);
}

}  // namespace

std::int16_t CInt(std::string_view text) {
  const auto number = ParseNumber(text);
  if (!number) Raise(err::kTypeMismatch);
  return ToInteger<std::int16_t>(*number);
}

std::int32_t CLng(std::string_view text) {
  const auto number = ParseNumber(text);
  if (!number) Raise(err::kTypeMismatch);
  return ToInteger<std::int32_t>(*number);
}

std::int16_t CInt(double value) {
  return ToInteger<std::int16_t>(value);
}

std::int16_t CInt(std::int64_t value) {
  if (value < INT16_MIN || value > INT16_MAX) Raise(err::kOverflow);
  return static_cast<std::int16_t>(value);
}

double Val(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  double sign = 1.0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    sign = text[i] == '-' ? -1.0 : 1.0;
    ++i;
  }
  double value = 0.0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    value = value * 10.0 + (text[i] - '0');
    ++i;
  }
  return sign * value;
}

}  // namespace fernwick
