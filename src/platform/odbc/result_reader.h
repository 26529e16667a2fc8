#pragma once
// Reads a statement's whole result into a record set: every row is fetched
// at once, so the row count is known right after the query opens whatever
// the driver reports for a SELECT.
#include "platform/config_database.h"
#include "platform/odbc/answer_ceiling.h"
#include "platform/odbc/odbc_handles.h"

namespace fernwick::odbc {

// Column names as the driver describes them; every field as ANSI text
// (SQL_C_CHAR), SQL NULL as nullopt. A statement without a result set gives
// an empty record set. An answer past `ceiling` fails the query.
platform::RecordSet ReadAllRows(const Statement& statement, const AnswerCeiling& ceiling = kAnswerCeiling);

}  // namespace fernwick::odbc
