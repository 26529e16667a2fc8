#include "common/plain_number.h"

#include <cmath>
#include <cstdio>

namespace fernwick {

double RoundToCents(double value) {
  // nearbyint rounds halves to even in the default rounding mode.
  return std::nearbyint(value * 100.0) / 100.0;
}

std::string PlainNumber(double value) {
  double rounded = RoundToCents(value);
  if (rounded == 0) rounded = 0;  // no "-0"
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", rounded);
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return rounded < 0 ? text : " " + text;
}

}  // namespace fernwick
