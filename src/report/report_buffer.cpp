#include "report/report_buffer.h"

#include "common/not_in_capture.h"
#include "common/text.h"

namespace fernwick::report {

void ReportBuffer::AppendReportLine(std::string_view text) {
  const std::size_t start = text_.size();
  text_ += text;
  // Written from what a re-checked capture could not answer.
  if (TakeUnanswered() && !text.starts_with(kNotInCapture)) {
    text_ += ' ';
    text_ += kNotInCapture;
  }
  text_ += kCrLf;
  for (auto at = text_.find(kCrLf, start); at != std::string::npos; at = text_.find(kCrLf, at + kCrLf.size())) {
    lineStarts_.push_back(at + kCrLf.size());
  }
}

void ReportBuffer::AppendMarkedLine(const MarkedText& text) {
  const std::size_t first = NextLine();
  AppendReportLine(std::string_view(text.text));
  for (const LineMark& mark : text.marks) RecordFinding(mark.id, first + mark.line, mark.process, mark.value);
}

void ReportBuffer::RecordFinding(FindingId id, std::size_t line, std::string process, std::string value) {
  findings_.push_back({id, line, std::string(Line(line)), std::move(process), std::move(value)});
}

std::string_view ReportBuffer::Line(std::size_t line) const {
  if (line + 1 >= lineStarts_.size()) return {};
  const std::size_t start = lineStarts_[line];
  return std::string_view(text_).substr(start, lineStarts_[line + 1] - kCrLf.size() - start);
}

void ReportBuffer::Clear() {
  text_.clear();
  lineStarts_.assign(1, 0);
  findings_.clear();
  codePage_ = 1252;
}

}  // namespace fernwick::report
