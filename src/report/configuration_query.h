#pragma once
// Queries of the later report sections on the configuration database: each
// opens its record set on the standard connection string and closes it in
// the same statement list, under the gathering's guard.
#include <optional>
#include <string>

#include "platform/config_database.h"
#include "report/gathering.h"

namespace fernwick::report {

// The opened record set, or nullopt after the query failed (its error line
// is then in the report).
std::optional<platform::RecordSet> OpenReportQuery(Gathering& g, const std::string& sql);

// A field's text where the report joins it into a line: NULL joins as "".
std::string JoinedText(const platform::FieldValue& value);

}  // namespace fernwick::report
