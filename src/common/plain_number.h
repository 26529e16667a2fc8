#pragma once
// The report's plain number format: a blank before a number that is not
// negative (a minus sign otherwise), a period as decimal separator whatever
// the locale, no thousands separators, no trailing zeros.
#include <string>

namespace fernwick {

// `value` rounded to two decimals, halves to the even neighbour.
double RoundToCents(double value);
// RoundToCents(value) in the plain number format: 40007.99 gives " 40007.99",
// 12.5 gives " 12.5", -3 gives "-3".
std::string PlainNumber(double value);

}  // namespace fernwick
