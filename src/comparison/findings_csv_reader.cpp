#include "comparison/findings_csv_reader.h"

#include <charconv>

#include "common/text.h"
#include "comparison/csv_records.h"

namespace fernwick::comparison {
namespace {

// A forged file with more rows than any report has lines is refused.
constexpr std::size_t kMaxRows = 20000;

std::optional<std::size_t> Column(const std::vector<std::string>& header, std::string_view name) {
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (EqualsNoCase(Trim(header[i]), name)) return i;
  }
  return std::nullopt;
}

std::size_t LineNumber(std::string_view text) {
  std::size_t line = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), line);
  return error == std::errc() && end == text.data() + text.size() ? line : 0;
}

}  // namespace

std::string WithoutFormulaGuard(std::string_view cell) {
  if (cell.size() >= 2 && cell[0] == '\'' && std::string_view("=+-@\t\r").find(cell[1]) != std::string_view::npos) {
    return std::string(cell.substr(1));
  }
  return std::string(cell);
}

FindingsCsvRows ReadFindingsCsv(std::string_view bytes, std::uint32_t codePage, const ToUtf8& toUtf8) {
  FindingsCsvRows out;
  bool utf8 = false;
  CsvRecords records(WithoutByteOrderMark(bytes, utf8));
  std::vector<std::string> header;
  if (!records.Next(header)) {
    out.error = records.Failed() ? "its header row is too long" : "it is empty";
    return out;
  }
  const auto id = Column(header, "id");
  const auto severity = Column(header, "severity");
  const auto evidence = Column(header, "evidence");
  const auto line = Column(header, "line");
  const auto statedCodePage = Column(header, "code page");
  if (!id || !severity || !evidence) {
    out.error = "its header row lacks the column id, severity or evidence";
    return out;
  }
  std::vector<std::string> fields;
  for (std::size_t row = 2; records.Next(fields); ++row) {
    if (fields.size() == 1 && fields[0].empty()) continue;
    if (out.findings.size() == kMaxRows) {
      out.error = "it has more than " + std::to_string(kMaxRows) + " rows";
      return out;
    }
    auto cell = [&](std::optional<std::size_t> column) {
      return column && *column < fields.size() ? WithoutFormulaGuard(fields[*column]) : std::string();
    };
    std::string text = cell(evidence);
    const std::size_t stated = LineNumber(cell(statedCodePage));
    if (stated != 0 && stated <= 0xFFFF) out.codePage = static_cast<std::uint32_t>(stated);
    if (!utf8) {
      const auto converted = toUtf8(text, stated != 0 ? static_cast<std::uint32_t>(stated) : codePage);
      if (!converted) {
        out.error = "row " + std::to_string(row) + ": its code page is unknown";
        return out;
      }
      text = *converted;
    }
    out.findings.push_back({cell(id), cell(severity), std::move(text), LineNumber(cell(line))});
  }
  if (records.Failed()) out.error = "a row is longer than " + std::to_string(CsvRecords::kMaxRecordBytes) + " bytes";
  return out;
}

}  // namespace fernwick::comparison
