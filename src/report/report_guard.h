#pragma once
// Gathering goes on after a failing statement: each statement runs inside
// this guard, which turns a run-time error into the report's error line
// (a question a re-checked capture cannot answer into its own line).
#include <exception>
#include <string>

#include "common/not_in_capture.h"
#include "common/runtime_error.h"
#include "report/report_buffer.h"

namespace fernwick::report {

std::string ReportErrorLine(const RuntimeError& error);

class ReportGuard {
 public:
  explicit ReportGuard(ReportBuffer& buffer) : buffer_(buffer) {}

  template <typename Statement>
  void operator()(Statement&& statement) {
    try {
      statement();
    } catch (const NotInCapture& e) {
      buffer_.AppendReportLine(NotInCaptureLine(e));
    } catch (const std::exception& e) {
      buffer_.AppendFindingLine(FindingId::RuntimeError, ReportErrorLine(AsRuntimeError(e)));
    }
  }

 private:
  ReportBuffer& buffer_;
};

}  // namespace fernwick::report
