#pragma once
// Findings.csv: one row per finding in report order, under a header row.
//
//   id,severity,section,title,evidence,fix,line,server,gathered,code page,explained by
//
// UTF-8 with a byte-order mark (EF BB BF), converted from the report's code
// page, so that a spreadsheet reads any script; RFC 4180 (CRLF, a field
// with a comma, quote or line end quoted, quotes doubled). Severity and fix
// are those for the server's Windows and the finding's line; `line` is the
// evidence's line in VoxtraSystemInfo.txt (1 for the first); `server` and
// `gathered` come from the report's text ("not read" where it lacks them),
// `gathered` in ISO 8601 ("2026-12-07T09:02:11", the server's local time:
// the report gives no offset from UTC); `code page` is the report's
// (1252, 932, ...); `explained by` is the id of the finding that explains
// this one, if any. The files of any number of servers concatenate into
// one table: keep the first file whole and drop the first line (the mark
// and the header) of each other one.
//
// Spreadsheet-safe (the OWASP rule for CSV injection): a field that begins
// with =, +, -, @, a tab or a carriage return, or with ', gets a ' in front
// and is quoted, so that a spreadsheet takes it as text and runs no
// formula. A field that begins with ' had one added: the report's line is
// the evidence field without its first '.
//
// Earlier Fernwick wrote the first nine columns, in the report's code page
// without a mark, and `gathered` as the report's "mm-dd-yyyy / hh:mm:ss".
// New columns go at the end, for the readers of the older ones.
#include <string>
#include <string_view>

#include "platform/code_pages.h"
#include "report/packed_report.h"

namespace fernwick::report {

inline constexpr const char* kFindingsCsvName = "Findings.csv";
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::string FindingsCsv(const PackedReport& report, platform::CodePages& codePages);

// One field as the file holds it (without the separator): made safe for a
// spreadsheet, then quoted where RFC 4180 asks.
std::string CsvField(std::string_view field);

}  // namespace fernwick::report
