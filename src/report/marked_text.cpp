#include "report/marked_text.h"

#include "common/text.h"

namespace fernwick::report {

std::size_t LineEnds(std::string_view text) {
  std::size_t count = 0;
  for (auto at = text.find(kCrLf); at != std::string_view::npos; at = text.find(kCrLf, at + kCrLf.size())) ++count;
  return count;
}

MarkedText::MarkedText(FindingId id, std::string line) : text(std::move(line)) {
  std::size_t first = 0;
  while (text.compare(first * kCrLf.size(), kCrLf.size(), kCrLf) == 0) ++first;
  marks.push_back({first, id, {}, {}});
}

MarkedText& MarkedText::operator+=(const MarkedText& more) {
  if (!more.marks.empty()) {
    const std::size_t shift = LineEnds(text);
    for (const LineMark& mark : more.marks) marks.push_back({mark.line + shift, mark.id, mark.process, mark.value});
  }
  text += more.text;
  return *this;
}

MarkedText operator+(MarkedText left, const MarkedText& right) {
  left += right;
  return left;
}

}  // namespace fernwick::report
