#pragma once
// The report as it accumulates: one text with CRLF line ends.
#include <string>
#include <string_view>

namespace fernwick::report {

class ReportBuffer {
 public:
  // Appends `text` unchanged and a CRLF; a text with CRLFs adds several lines.
  void AppendReportLine(std::string_view text);
  void Clear() { text_.clear(); }
  const std::string& Text() const { return text_; }

 private:
  std::string text_ = "bufferTextMain";  // the hidden control's design-time text
};

}  // namespace fernwick::report
