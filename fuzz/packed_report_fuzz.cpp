// The window's text as Write To File packs it (anything a user can type or
// paste) against one gathered report, and the summary page made from it in
// a code page the first byte picks. Beyond "no crash": each carried
// finding's evidence is its packed line, findings stay in line order, no
// gathered finding is claimed twice, no cause is explained itself, the page
// is valid UTF-8 without control characters other than tab and line ends,
// and Findings.csv is valid UTF-8 behind its byte-order mark.
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/image/image_code_pages.h"
#include "report/findings_csv.h"
#include "report/packed_report.h"
#include "report/summary_page.h"

namespace {

using namespace fernwick;

const report::ReportBuffer& Gathered() {
  static const report::ReportBuffer buffer = [] {
    report::ReportBuffer b;
    b.Clear();
    b.AppendReportLine("TORB Version = 2.0.4");
    b.AppendFindingLine(report::FindingId::RuntimeError, "\r\n(error):17 (SQL Server does not exist) in procedure");
    b.AppendFindingLine(report::FindingId::RuntimeError, "\r\n(error):17 (SQL Server does not exist) in procedure");
    b.AppendFindingLine(report::FindingId::QmrKeysSet, "     QMR Mode : * Warning *");
    return b;
  }();
  return buffer;
}

bool ValidUtf8(std::string_view text, bool controls = false) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      if (!controls && lead < 0x20 && lead != '\t' && lead != '\r' && lead != '\n') return false;
      ++i;
      continue;
    }
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
    }
    if (!controls && lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) return false;  // C1 controls
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

}  // namespace

// The most this reader may hold beside its input, in times the input. It
// keeps a container entry for each line or key; the worst case measured is
// a file of empty lines: 24 times.
constexpr long long kHeldMultiple = 64;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Check;
  if (size == 0) return 0;
  const std::uint32_t codePages[] = {1252, 932, 1251, 936, 950, 949, 1250};
  const std::uint32_t codePage = codePages[data[0] % std::size(codePages)];
  const std::string_view packed = fuzz::AsText(data + 1, size - 1);
  fuzz::HoldsAtMost(size, kHeldMultiple, fuzz::kFileReaderConstant,
                    [&] { (void)report::CarryFindings(Gathered(), packed); });
  const report::PackedReport carried = report::CarryFindings(Gathered(), packed);
  std::size_t fromGathering = 0;
  for (std::size_t i = 0; i < carried.findings.size(); ++i) {
    const report::Finding& finding = carried.findings[i];
    Check(finding.line < carried.lines.size() && carried.lines[finding.line] == finding.evidence,
          "evidence is the packed line");
    Check(i == 0 || carried.findings[i - 1].line <= finding.line, "findings in line order");
    fromGathering +=
        finding.id != report::FindingId::WriteToFileError && finding.id != report::FindingId::SqlServerUnreachable;
    const std::size_t cause = carried.causes.at(i);
    Check(cause == report::kNoCause || carried.causes.at(cause) == report::kNoCause, "a cause is never explained");
  }
  Check(fromGathering <= Gathered().Findings().size(), "no gathered finding claimed twice");
  report::PackedReport withCodePage = carried;
  withCodePage.identity.codePage = codePage;
  image::ImageCodePages converter(codePage);
  Check(ValidUtf8(report::SummaryPage(withCodePage, converter)), "the page is clean UTF-8");
  const std::string csv = report::FindingsCsv(withCodePage, converter);
  Check(csv.starts_with(report::kUtf8ByteOrderMark) && ValidUtf8(csv, true), "the CSV is UTF-8");
  return 0;
}
