#include "report/configuration_query.h"

#include "probes/configuration_database.h"
#include "report/report_guard.h"

namespace fernwick::report {

std::optional<platform::RecordSet> OpenReportQuery(Gathering& g, const std::string& sql) {
  std::optional<platform::RecordSet> result;
  ReportGuard guard(g.buffer);
  guard([&] { result = g.platform.database.OpenQuery(sql, probes::kStandardConnectionString); });
  return result;
}

std::string JoinedText(const platform::FieldValue& value) {
  return value.value_or(std::string());
}

}  // namespace fernwick::report
