#include "platform/image/image_code_pages.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace fernwick::image {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// One iconv conversion descriptor, closed when it goes.
class Converter {
 public:
  explicit Converter(std::uint32_t codePage) : cd_(iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str())) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() {
    if (Open()) iconv_close(cd_);
  }
  bool Open() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> ImageCodePages::ToUtf8(std::string_view text, std::uint32_t codePage) {
  Converter converter(codePage);
  if (!converter.Open()) return std::nullopt;
  std::string out;
  std::vector<char> input(text.begin(), text.end());
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* at = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t done = iconv(converter.Get(), &in, &inLeft, &at, &outLeft);
    out.append(buffer, static_cast<std::size_t>(at - buffer));
    if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // A byte the code page does not define, or a lead byte without its
    // trail byte: one replacement character, and on after that byte.
    out += kReplacement;
    ++in;
    --inLeft;
    iconv(converter.Get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace fernwick::image
