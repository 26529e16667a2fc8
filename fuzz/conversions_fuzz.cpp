// The number conversions (CInt, CLng, Val) applied to text from the image.
// Beyond "no crash": the only exceptions are RuntimeError 13 (type mismatch)
// and 6 (overflow); a number CInt accepts CLng gives alike; a converted
// number written in decimal converts back to itself; Val never throws.
#include <string>

#include "common/conversions.h"
#include "common/runtime_error.h"
#include "fuzz/fuzz_check.h"

namespace {

template <typename Convert>
bool Converts(Convert convert, std::string_view text, std::int64_t& result) {
  using namespace fernwick;
  try {
    result = convert(text);
    return true;
  } catch (const RuntimeError& e) {
    fuzz::Check(e.Number() == err::kTypeMismatch || e.Number() == err::kOverflow, "only errors 13 and 6");
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  const std::string_view text = fuzz::AsText(data, size);
  const auto cint = [](std::string_view t) { return static_cast<std::int64_t>(CInt(t)); };
  const auto clng = [](std::string_view t) { return static_cast<std::int64_t>(CLng(t)); };
  std::int64_t asInt = 0;
  std::int64_t asLong = 0;
  const bool isInt = Converts(cint, text, asInt);
  const bool isLong = Converts(clng, text, asLong);
  if (isInt) Check(isLong && asLong == asInt, "CInt and CLng agree");
  if (isLong) {
    std::int64_t again = 0;
    Check(Converts(clng, std::to_string(asLong), again) && again == asLong, "CLng round trip");
  }
  (void)Val(text);
  return 0;
}
