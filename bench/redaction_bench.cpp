// redaction_bench: the redaction of big event-log dumps against dumpel's
// writing of them.
//
// Makes LOGS logs of RECORDS records each (all within the -d window, so
// dumpel writes every one), in the format Fernwick asks for (dtTSIs -c),
// with the names a server's logs carry: the computer, DOMAIN\account, an
// FQDN under the domain, an IPv4 address in one record in three, a UNC path
// in one in five. It times dumpel's writing of the records (DumpRecords,
// the formatting alone, without reading a packed log: the smaller figure)
// and the redaction of that output as Write To File does it: a collecting
// pass and a redacting pass, each fed in 1 MB pieces through the line
// stream, the pieces written nowhere (and, for comparison, the redacting
// pass alone, which learns names only as it goes). Memory: the
// largest text the redaction holds at once (its pending line and its output
// piece) and the process's peak resident size before and after. Each runs
// three times; the best time counts; the ratio should stay under 2. Then
// the check every packed file passes (RedactionCheck) over the redacted
// output, and the cost of many subnets: logs of 5,000 and 20,000 distinct
// /24s (a gateway facing the internet), which must grow linearly. The exit
// code is 1 when an original is left in the output.
//
// Usage: redaction_bench [--records N] [--logs N]   (defaults 500000, 2)
// Build it optimised: scripts/build.sh release.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dumpel/event_log_dump.h"
#include "redaction/file_redaction.h"
#include "redaction/name_collection.h"
#include "redaction/redaction_check.h"

namespace {

using fernwick::dumpel::EventRecord;

constexpr long long kNow = 1'796'000'000;

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::vector<EventRecord> MakeRecords(long long count, int seed) {
  static const char* const kSources[] = {"Service Control Manager", "Voxtra Messaging", "Userenv", "W32Time", "Tcpip"};
  std::vector<EventRecord> records;
  records.reserve(static_cast<std::size_t>(count));
  for (long long i = 0; i < count; ++i) {
    EventRecord r;
    r.year = 2026;
    r.month = 12;
    r.day = 6;
    r.hour = static_cast<int>(i / 3600 % 24);
    r.minute = static_cast<int>(i / 60 % 60);
    r.second = static_cast<int>(i % 60);
    r.type = i % 3 == 0 ? "Warning" : "Information";
    r.category = static_cast<std::uint16_t>(i % 4);
    r.eventId = static_cast<std::uint32_t>(1000 + (i * 7 + seed) % 60);
    r.source = kSources[(i + seed) % 5];
    r.computer = "VOXTRA01";
    std::string text = "The Voxtra Messaging service on VOXTRA01 ran as CORP\\svc-voxtra" + std::to_string(i % 7) +
                       " for " + std::to_string(i % 97) + " s, directory DC01.corp.example.com";
    if (i % 3 == 0) text += ", partner 10.20." + std::to_string(i % 4) + "." + std::to_string(i % 250 + 1);
    if (i % 5 == 0) text += ", archive \\\\FILESRV02\\Voxtra";
    r.strings = {text, "Port " + std::to_string(i % 24) + ", \"line group\" " + std::to_string(seed)};
    records.push_back(std::move(r));
  }
  return records;
}

// Redacts a log that names `subnets` distinct /24s, one record each.
double SubnetsMs(int subnets) {
  std::string log;
  for (int i = 0; i < subnets; ++i) {
    log += "12/06/2026,09:00:00,Warning,Tcpip,4227,Connection from " + std::to_string(20 + i / 65536 % 200) + "." +
           std::to_string(i / 256 % 256) + "." + std::to_string(i % 256) + ".7 refused\r\n";
  }
  const auto start = std::chrono::steady_clock::now();
  fernwick::redaction::RedactionMap map;
  fernwick::redaction::TextRedactor redactor(map);
  fernwick::redaction::LineStreamRedactor stream(redactor);
  for (std::size_t at = 0; at < log.size(); at += 1 << 20) stream.Feed(std::string_view(log).substr(at, 1 << 20));
  stream.Finish();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

template <typename Work>
double BestOfThree(Work work) {
  double best = 1e300;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  long long records = 500000, logCount = 2;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const long long value = std::atoll(argv[i + 1]);
    if (value < 1 || (name != "--records" && name != "--logs")) {
      std::fprintf(stderr, "usage: %s [--records N] [--logs N]\n", argv[0]);
      return 2;
    }
    (name == "--records" ? records : logCount) = value;
  }
  fernwick::dumpel::DumpelOptions options;
  options.days = 0;
  options.format = "dtTSIs";
  options.separator = ',';
  std::vector<std::vector<EventRecord>> logs;
  for (int seed = 0; seed < logCount; ++seed) logs.push_back(MakeRecords(records, seed));

  std::vector<std::string> dumps(logs.size());
  const double dumpelMs = BestOfThree([&] {
    for (std::size_t i = 0; i < logs.size(); ++i) dumps[i] = fernwick::dumpel::DumpRecords(logs[i], options, kNow);
  });
  logs.clear();
  logs.shrink_to_fit();
  std::size_t bytes = 0;
  for (const auto& d : dumps) bytes += d.size();

  const long peakBefore = PeakKilobytes();
  std::size_t heldAtOnce = 0, outBytes = 0;
  bool left = false;
  double collectMs = 0;
  // One run over the logs: with `collect`, the collecting pass first (every
  // log read in pieces, names learned, nothing written), then the redacting
  // pass, as Write To File does; without it, the redacting pass alone, which
  // learns names only as it goes.
  fernwick::redaction::RedactionMap map;
  const auto redactAll = [&](bool collect) {
    map = fernwick::redaction::RedactionMap();
    fernwick::redaction::AddValue(fernwick::redaction::Kind::Host, "VOXTRA01", map);
    fernwick::redaction::AddValue(fernwick::redaction::Kind::Domain, "CORP", map);
    fernwick::redaction::AddValue(fernwick::redaction::Kind::Host, "DC01.corp.example.com", map);
    fernwick::redaction::TextRedactor redactor(map);
    using Pass = fernwick::redaction::LineStreamRedactor::Pass;
    if (collect) {
      const auto start = std::chrono::steady_clock::now();
      for (const auto& dump : dumps) {
        fernwick::redaction::LineStreamRedactor stream(redactor, Pass::kCollect);
        for (std::size_t at = 0; at < dump.size(); at += 1 << 20)
          stream.Feed(std::string_view(dump).substr(at, 1 << 20));
        stream.Finish();
      }
      collectMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    outBytes = 0;
    for (const auto& dump : dumps) {
      fernwick::redaction::LineStreamRedactor stream(redactor);
      for (std::size_t at = 0; at < dump.size(); at += 1 << 20) {
        const std::string out = stream.Feed(std::string_view(dump).substr(at, 1 << 20));
        heldAtOnce = std::max(heldAtOnce, out.size() + (1 << 20));
        outBytes += out.size();
        left = left || out.find("VOXTRA01") != std::string::npos || out.find("10.20.") != std::string::npos ||
               out.find("FILESRV02") != std::string::npos || out.find("svc-voxtra") != std::string::npos;
      }
      outBytes += stream.Finish().size();
    }
  };
  const double onePassMs = BestOfThree([&] { redactAll(false); });
  double bestCollectMs = 1e300;
  const double redactMs = BestOfThree([&] {
    redactAll(true);
    bestCollectMs = std::min(bestCollectMs, collectMs);
  });
  // The check of the redacted output, piece by piece (each piece of the
  // line stream ends at a line end), as Write To File checks the event
  // logs; only the check is timed.
  bool checkFound = false;
  const double checkMs = [&] {
    fernwick::redaction::RedactionCheck check(map, {});
    fernwick::redaction::TextRedactor redactor(map);
    double ms = 0;
    for (const auto& dump : dumps) {
      fernwick::redaction::LineStreamRedactor stream(redactor);
      const auto checked = [&](const std::string& out) {
        const auto start = std::chrono::steady_clock::now();
        checkFound = checkFound || check.FindInPiece(out).has_value();
        ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      };
      for (std::size_t at = 0; at < dump.size(); at += 1 << 20)
        checked(stream.Feed(std::string_view(dump).substr(at, 1 << 20)));
      checked(stream.Finish());
    }
    return ms;
  }();
  const double subnets5k = SubnetsMs(5000), subnets20k = SubnetsMs(20000);
  const long peakAfter = PeakKilobytes();
  std::printf("redaction_bench: %lld logs x %lld records, %zu bytes written by dumpel (-format dtTSIs -c)\n", logCount,
              records, bytes);
  std::printf("dumpel writing them:        %9.1f ms\n", dumpelMs);
  std::printf("redacting pass alone:       %9.1f ms, ratio %.2f\n", onePassMs, onePassMs / dumpelMs);
  std::printf(
      "collecting, then redacting (1 MB pieces): %7.1f ms (collecting %.1f ms), %zu bytes out, ratio %.2f "
      "(%s 2)%s\n",
      redactMs, bestCollectMs, outBytes, redactMs / dumpelMs, redactMs < 2 * dumpelMs ? "within" : "OVER",
      left ? ", ORIGINALS LEFT" : "");
  std::printf("checking the redacted output: %9.1f ms, ratio %.2f to dumpel%s\n", checkMs, checkMs / dumpelMs,
              checkFound ? ", AN ORIGINAL FOUND" : "");
  std::printf("5,000 distinct /24s: %.1f ms; 20,000: %.1f ms (%.1fx for 4x the subnets)\n", subnets5k, subnets20k,
              subnets20k / subnets5k);
  std::printf("memory: at most %zu bytes of text held at once; peak resident %ld KB before, %ld KB after\n", heldAtOnce,
              peakBefore, peakAfter);
  return left || checkFound ? 1 : 0;
}
