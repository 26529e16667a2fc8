#include "probes/reg_value_number.h"

#include "common/conversions.h"
#include "common/runtime_error.h"

namespace fernwick::probes {

std::int32_t RegValueNumber(const RegValue& value) {
  if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
  if (const auto* text = std::get_if<std::string>(&value)) return CLng(*text);
  if (std::holds_alternative<std::monostate>(value)) return 0;
  Raise(err::kTypeMismatch);
}

}  // namespace fernwick::probes
