#include "report/drive_space_block.h"

#include "common/plain_number.h"
#include "common/runtime_error.h"
#include "report/report_guard.h"

namespace fernwick::report {
namespace {

constexpr double kBytesPerMeg = 1000000.0;  // "megs" are millions of bytes

platform::DriveSpace ReadDrive(Gathering& g, const std::string& path) {
  const auto space = g.platform.files.DriveSpaceOf(DriveNameOf(path));
  if (!space) Raise(err::kDiskNotReady);
  return *space;
}

double PercentFree(const DriveSpaceReads& reads) {
  // The runtime's double division: 0/0 overflows, x/0 divides by zero.
  if (reads.total == 0) Raise(reads.free == 0 ? err::kOverflow : err::kDivisionByZero);
  return reads.free / reads.total * 100.0;
}

}  // namespace

std::string DriveNameOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // \\server\share: up to the backslash after the share name.
    const auto serverEnd = path.find('\\', 2);
    if (serverEnd == std::string::npos) return path;
    const auto shareEnd = path.find('\\', serverEnd + 1);
    return path.substr(0, shareEnd);
  }
  return {};
}

void DriveSpaceBlock(Gathering& g, DriveSpaceReads& reads, const std::string& path) {
  ReportGuard guard(g.buffer);
  guard([&] { reads.total = ReadDrive(g, path).totalBytes; });
  guard([&] { reads.free = ReadDrive(g, path).availableBytes; });
  guard(
      [&] { g.buffer.AppendReportLine("         Total capacity (megs)=" + PlainNumber(reads.total / kBytesPerMeg)); });
  guard([&] { g.buffer.AppendReportLine("         Megs free=" + PlainNumber(reads.free / kBytesPerMeg)); });
  guard([&] { g.buffer.AppendReportLine("         % free space=" + PlainNumber(PercentFree(reads))); });
}

}  // namespace fernwick::report
