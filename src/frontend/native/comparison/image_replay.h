#pragma once
// A server image gathered again for a comparison, as `fernwick IMAGE` does
// (a capture with the switches its run had), with today's rules: the report
// and its findings, or why the gathering could not run.
#include <filesystem>
#include <optional>
#include <string>

#include "report/report_buffer.h"

namespace fernwick::native {

struct ImageReplay {
  std::optional<report::ReportBuffer> report;
  std::string failure;  // when there is no report: "not captured: ...", ...
};

// Everything the gathering writes goes below `out`.
ImageReplay ReplayImage(const std::filesystem::path& image, const std::filesystem::path& out);

}  // namespace fernwick::native
