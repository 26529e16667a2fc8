#include "frontend/native/fleet/fleet_command.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <thread>

#include "common/text.h"
#include "fleet/fleet_csv.h"
#include "fleet/fleet_page.h"
#include "fleet/fleet_record.h"
#include "frontend/native/cabinet_image/cabinet_image.h"
#include "frontend/native/cabinet_image/removal_on_exit.h"
#include "frontend/native/fleet/fleet_cab.h"

namespace fernwick::native {
namespace fs = std::filesystem;

namespace {

// How the fleet starts the reader of one CAB: FLAG CAB SCRATCH INDEX.
constexpr std::string_view kReaderFlag = "--fleet-reader";

constexpr const char* kFleetUsage =
    "Usage: fernwick --fleet DIR|CAB... [--csv FILE] [--html FILE] [--all] [--jobs N] [--as-of yyyy-mm-dd]\n";

// Each CAB is read by a process of its own, with these limits: a forged
// CAB costs at most them, and whatever becomes of its reader, the run goes on.
constexpr auto kCabTimeLimit = std::chrono::seconds(300);
constexpr std::uint64_t kCabMemoryLimit = 2048ull << 20;
// A fact with more values than this across the fleet (free space, say)
// differs on every server: it is not compared.
constexpr std::size_t kMostValues = 1000;

struct FleetOptions {
  std::vector<fs::path> inputs;
  std::string csv, html, asOf;
  bool all = false;
  unsigned jobs = 0;
};

std::optional<FleetOptions> ReadFleetOptions(const std::vector<std::string>& args) {
  FleetOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--fleet") continue;
    if (arg == "--csv" || arg == "--html" || arg == "--jobs" || arg == "--as-of") {
      if (i + 1 == args.size()) {
        std::fprintf(stderr, "fernwick: %s needs a value\n", arg.c_str());
        return std::nullopt;
      }
      const std::string& value = args[++i];
      if (arg == "--csv") o.csv = value;
      if (arg == "--html") o.html = value;
      if (arg == "--as-of") o.asOf = value;
      if (arg == "--jobs") {
        const unsigned long jobs = std::strtoul(value.c_str(), nullptr, 10);
        if (jobs == 0 || jobs > 256) {
          std::fprintf(stderr, "fernwick: --jobs takes 1 to 256, not %s\n", value.c_str());
          return std::nullopt;
        }
        o.jobs = static_cast<unsigned>(jobs);
      }
    } else if (arg == "--all") {
      o.all = true;
    } else if (arg.starts_with("--")) {
      std::fprintf(stderr, "fernwick: --fleet does not take %s\n", arg.c_str());
      return std::nullopt;
    } else {
      o.inputs.emplace_back(arg);
    }
  }
  if (o.inputs.empty()) {
    std::fputs("fernwick: --fleet needs folders or CABs to read\n", stderr);
    return std::nullopt;
  }
  if (!o.asOf.empty() && !fleet::AgeInDays(o.asOf, o.asOf)) {
    std::fprintf(stderr, "fernwick: --as-of takes a day as yyyy-mm-dd, not %s\n", o.asOf.c_str());
    return std::nullopt;
  }
  return o;
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char day[16];
  std::strftime(day, sizeof day, "%Y-%m-%d", &local);
  return day;
}

// The CABs below the inputs, each folder's in name order; a symbolic link
// to a folder is not followed.
void FindCabs(const FleetOptions& o, std::vector<fs::path>& cabs,
              std::vector<std::pair<std::string, std::string>>& unreadable) {
  for (const fs::path& input : o.inputs) {
    std::error_code ec;
    if (fs::is_directory(input, ec)) {
      std::vector<fs::path> found;
      for (fs::recursive_directory_iterator it(input, fs::directory_options::skip_permission_denied, ec), end;
           !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (it->is_regular_file(kind) && EqualsNoCase(it->path().extension().string(), ".cab")) {
          found.push_back(it->path());
        }
      }
      if (ec) unreadable.emplace_back(input.string(), "the folder cannot be listed: " + ec.message());
      std::sort(found.begin(), found.end());
      cabs.insert(cabs.end(), found.begin(), found.end());
    } else if (fs::is_regular_file(input, ec)) {
      cabs.push_back(input);
    } else {
      unreadable.emplace_back(input.string(), "no such file or folder");
    }
  }
}

// One CAB's reader: a process of its own, ended at its time limit.
struct Reader {
  pid_t pid;
  std::size_t cab;
  std::chrono::steady_clock::time_point started;
};

fs::path RecordFile(const fs::path& scratch, std::size_t cab) {
  return scratch / (std::to_string(cab) + ".records");
}

// The command line of the reader of one CAB: this program again, started
// afresh (exec, not a copy of this process: nothing of its threads' state
// goes with it). Made before the fork, so that the child only calls execv.
std::vector<std::string> ReaderArguments(const fs::path& cab, const fs::path& scratch, std::size_t index) {
  return {"fernwick", std::string(kReaderFlag), cab.string(), scratch.string(), std::to_string(index)};
}

[[noreturn]] void StartReader(std::vector<char*>& argv) {
  execv("/proc/self/exe", argv.data());
  _exit(127);
}

// In the reader's process: reads the CAB into its record file.
int RunReader(const fs::path& cab, const fs::path& scratch, std::size_t index) {
  LimitMemoryForCustomerCab(kCabMemoryLimit);
  // The replay's message boxes are no lines of the fleet's.
  if (std::freopen("/dev/null", "w", stderr) == nullptr) return 4;
  std::ofstream out(RecordFile(scratch, index), std::ios::binary);
  const fs::path own = scratch / std::to_string(index);
  std::error_code ec;
  fs::create_directories(own, ec);
  ReadFleetCab(cab, own, out);
  fs::remove_all(own, ec);
  out.close();
  return out ? 0 : 3;
}

void Failed(const fs::path& scratch, std::size_t index, const fs::path& cab, const std::string& reason) {
  std::ofstream out(RecordFile(scratch, index), std::ios::binary | std::ios::trunc);
  fleet::WriteFailure(out, cab.string(), reason);
}

// Reads every CAB, `jobs` at a time, into its record file.
void ReadAll(const std::vector<fs::path>& cabs, const fs::path& scratch, unsigned jobs) {
  const bool terminal = isatty(STDERR_FILENO) == 1;
  std::vector<Reader> running;
  std::size_t next = 0, done = 0;
  while (next < cabs.size() || !running.empty()) {
    while (running.size() < jobs && next < cabs.size()) {
      std::fflush(nullptr);
      std::vector<std::string> arguments = ReaderArguments(cabs[next], scratch, next);
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      const pid_t pid = fork();
      if (pid == 0) StartReader(argv);
      if (pid < 0) {
        Failed(scratch, next, cabs[next], "no process to read it could be started");
        ++next;
        ++done;
        continue;
      }
      running.push_back({pid, next++, std::chrono::steady_clock::now()});
    }
    int status = 0;
    const pid_t ended = waitpid(-1, &status, WNOHANG);
    if (ended <= 0) {
      const auto now = std::chrono::steady_clock::now();
      for (const Reader& reader : running) {
        if (now - reader.started > kCabTimeLimit) kill(reader.pid, SIGKILL);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      continue;
    }
    const auto at = std::find_if(running.begin(), running.end(), [&](const Reader& r) { return r.pid == ended; });
    if (at == running.end()) continue;
    const Reader reader = *at;
    running.erase(at);
    ++done;
    if (WIFSIGNALED(status)) {
      const bool late = std::chrono::steady_clock::now() - reader.started > kCabTimeLimit;
      Failed(scratch, reader.cab, cabs[reader.cab],
             late ? "its reading took longer than " + std::to_string(kCabTimeLimit.count()) + " seconds"
                  : "its reader stopped (signal " + std::to_string(WTERMSIG(status)) + ")");
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      Failed(scratch, reader.cab, cabs[reader.cab],
             "its reader stopped (exit code " + std::to_string(WEXITSTATUS(status)) + ")");
    }
    if (terminal) std::fprintf(stderr, "\rfernwick: %zu of %zu CABs read", done, cabs.size());
  }
  if (terminal && !cabs.empty()) std::fputs("\n", stderr);
}

// What the selection of the latest CAB of each server needs of one CAB.
struct CabEntry {
  std::string key;       // the server: its System ID, else its name
  std::string gathered;  // ISO 8601
  bool read = false;
  bool redacted = false;
};

CabEntry Entry(const fs::path& records, std::string& failure) {
  CabEntry entry;
  std::ifstream in(records, std::ios::binary);
  if (!in) {
    failure = "its reader wrote nothing";
    return entry;
  }
  while (const auto record = fleet::ReadRecord(in)) {
    if (record->kind == "failed" && record->fields.size() >= 2) {
      failure = record->fields[1];
      entry.read = false;
      return entry;
    }
    if (record->kind == "server" && record->fields.size() >= 10) {
      const std::string& name = record->fields[1];
      const std::string& systemId = record->fields[2];
      entry.key = !systemId.empty() ? "id:" + ToUpper(systemId)
                  : !name.empty()   ? "name:" + ToUpper(name)
                                    : "cab:" + record->fields[0];
      entry.gathered = record->fields[3];
      entry.read = true;
      entry.redacted = record->fields[9].ends_with(fleet::kRedactedFrom);
    }
  }
  if (!entry.read) failure = "its reader wrote no server";
  return entry;
}

fleet::FleetServer ServerOf(const fleet::FleetRecord& r) {
  return {r.fields[0], r.fields[1], r.fields[2], r.fields[3], r.fields[4],
          r.fields[5], r.fields[6], r.fields[7], r.fields[8], r.fields[9]};
}

// Calls `take` with each record of the CAB's file.
template <typename Take>
void EachRecord(const fs::path& file, Take&& take) {
  std::ifstream in(file, std::ios::binary);
  while (const auto record = fleet::ReadRecord(in)) take(*record);
}

bool Raised(const std::string& status) {
  return status == "present" || status == "new since the CAB was made";
}

int Fleet(const FleetOptions& o, const fs::path& scratch) {
  std::vector<fs::path> cabs;
  std::vector<std::pair<std::string, std::string>> unreadable;
  FindCabs(o, cabs, unreadable);
  const unsigned jobs = o.jobs != 0 ? o.jobs : std::max(1u, std::thread::hardware_concurrency());
  ReadAll(cabs, scratch, jobs);

  // The latest CAB of each server, unless all are kept.
  std::map<std::string, std::size_t> latest;
  std::vector<CabEntry> entries(cabs.size());
  for (std::size_t i = 0; i < cabs.size(); ++i) {
    std::string failure;
    entries[i] = Entry(RecordFile(scratch, i), failure);
    if (!entries[i].read) {
      unreadable.emplace_back(cabs[i].string(), failure);
      continue;
    }
    auto [at, added] = latest.emplace(entries[i].key, i);
    if (!added && entries[i].gathered >= entries[at->second].gathered) at->second = i;
  }
  std::vector<std::size_t> kept;
  for (std::size_t i = 0; i < cabs.size(); ++i) {
    if (entries[i].read && (o.all || latest.at(entries[i].key) == i)) kept.push_back(i);
  }

  std::ofstream csvFile;
  if (!o.csv.empty()) csvFile.open(o.csv, std::ios::binary | std::ios::trunc);
  std::ostream& csv = o.csv.empty() ? std::cout : csvFile;
  std::ofstream page;
  if (!o.html.empty()) page.open(o.html, std::ios::binary | std::ios::trunc);
  const std::string asOf = o.asOf.empty() ? Today() : o.asOf;
  fleet::FleetTotals totals{cabs.size(), kept.size(), unreadable.size(), 0, 0, asOf};
  for (std::size_t i = 0; i < cabs.size(); ++i) totals.older += entries[i].read ? 1 : 0;
  totals.older -= kept.size();
  for (std::size_t i : kept) totals.redacted += entries[i].redacted ? 1 : 0;
  if (page.is_open()) page << fleet::FleetPageStart(totals) << fleet::ServersStart();

  // First pass: the rows, the servers' lines, the findings' counts and the
  // facts findings read.
  csv << fleet::FleetCsvHeader();
  std::map<std::string, fleet::FindingCount> counts;
  std::set<std::string> readFacts = {"Voxtra version", "Windows version", "SQL Server", "Message store",
                                     "Fernwick version"};
  for (std::size_t i : kept) {
    std::optional<fleet::FleetServer> server;
    std::optional<long long> age;
    std::string worst = "none";
    std::size_t raised = 0;
    std::set<std::string> present, unevaluable;
    bool anyFinding = false;
    EachRecord(RecordFile(scratch, i), [&](const fleet::FleetRecord& r) {
      if (r.kind == "server" && r.fields.size() >= 10) {
        server = ServerOf(r);
        age = fleet::AgeInDays(server->gathered, asOf);
      } else if (r.kind == "finding" && r.fields.size() >= 5 && server) {
        const fleet::FleetFinding finding{r.fields[0], r.fields[1], r.fields[2], r.fields[3], r.fields[4]};
        csv << fleet::FleetCsvRow(*server, age, &finding);
        anyFinding = true;
        auto& count = counts[finding.id];
        count.id = finding.id;
        count.severity = std::string(fleet::WorseSeverity(count.severity, finding.severity));
        if (Raised(finding.status)) {
          ++raised;
          worst = std::string(fleet::WorseSeverity(worst, finding.severity));
          present.insert(finding.id);
          if (!finding.fact.empty()) readFacts.insert(finding.fact);
        } else if (finding.status == "not evaluable") {
          unevaluable.insert(finding.id);
        }
      }
    });
    if (!server) continue;
    for (const auto& id : present) ++counts[id].servers;
    for (const auto& id : unevaluable) ++counts[id].notEvaluable;
    if (!anyFinding) csv << fleet::FleetCsvRow(*server, age, nullptr);
    if (page.is_open()) page << fleet::ServerRow(*server, age, worst, raised);
  }
  csv.flush();
  const bool csvWritten = static_cast<bool>(csv);
  if (!page.is_open()) {
    if (!csvWritten) std::fprintf(stderr, "fernwick: cannot write %s\n", o.csv.empty() ? "the table" : o.csv.c_str());
  } else {
    page << fleet::TableEnd();
    std::vector<fleet::FindingCount> list;
    for (auto& [id, count] : counts) {
      if (count.servers > 0 || count.notEvaluable > 0) list.push_back(count);
    }
    page << fleet::FindingsByCount(std::move(list), kept.size());

    // Second pass: how many servers have each value of the facts findings read.
    std::map<std::string, std::map<std::string, std::size_t>> values;
    for (std::size_t i : kept) {
      EachRecord(RecordFile(scratch, i), [&](const fleet::FleetRecord& r) {
        if (r.kind != "fact" || r.fields.size() < 2 || !readFacts.contains(r.fields[0])) return;
        auto& seen = values[r.fields[0]];
        if (seen.size() <= kMostValues || seen.contains(r.fields[1])) ++seen[r.fields[1]];
      });
    }
    std::map<std::string, std::pair<std::string, std::size_t>> usual;  // fact -> value most servers have
    for (const auto& [fact, seen] : values) {
      if (seen.size() < 2 || seen.size() > kMostValues) continue;
      const auto most =
          std::max_element(seen.begin(), seen.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
      if (most->second > 1) usual[fact] = {most->first, most->second};
    }
    // Third pass: each server's facts that differ from the usual value.
    page << fleet::DifferencesStart();
    bool anyDifference = false;
    for (std::size_t i : kept) {
      std::string name;
      std::vector<std::pair<std::string, std::string>> differs;
      EachRecord(RecordFile(scratch, i), [&](const fleet::FleetRecord& r) {
        if (r.kind == "server" && r.fields.size() >= 10) name = r.fields[1].empty() ? r.fields[0] : r.fields[1];
        if (r.kind != "fact" || r.fields.size() < 2) return;
        const auto at = usual.find(r.fields[0]);
        if (at != usual.end() && r.fields[1] != at->second.first) differs.emplace_back(r.fields[0], r.fields[1]);
      });
      for (const auto& [fact, value] : differs) {
        if (!anyDifference) page << fleet::DifferencesTableStart();
        anyDifference = true;
        const auto& common = usual.at(fact);
        page << fleet::DifferenceRow(name, fact, value, common.first, common.second);
      }
    }
    page << fleet::DifferencesEnd(anyDifference);
    page << fleet::Unreadable(unreadable) << fleet::FleetPageEnd();
    page.close();
    if (!page) std::fprintf(stderr, "fernwick: cannot write %s\n", o.html.c_str());
    if (!csvWritten) std::fprintf(stderr, "fernwick: cannot write %s\n", o.csv.empty() ? "the table" : o.csv.c_str());
    if (!page || !csvWritten) return kFleetBad;
  }
  if (!csvWritten) return kFleetBad;
  for (const auto& [cab, reason] : unreadable)
    std::fprintf(stderr, "fernwick: %s not read: %s\n", cab.c_str(), reason.c_str());
  std::fprintf(stderr, "fernwick: %zu servers from %zu CABs, %zu not read\n", kept.size(), cabs.size(),
               unreadable.size());
  if (kept.empty()) return kFleetBad;
  return unreadable.empty() ? kFleetRead : kFleetSomeUnread;
}

}  // namespace

bool AsksForFleet(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--fleet") != args.end() || (args.size() == 4 && args[0] == kReaderFlag);
}

int FleetCommand(const std::vector<std::string>& args) {
  if (args.size() == 4 && args[0] == kReaderFlag) {
    return RunReader(args[1], args[2], static_cast<std::size_t>(std::strtoul(args[3].c_str(), nullptr, 10)));
  }
  const auto options = ReadFleetOptions(args);
  if (!options) {
    std::fputs(kFleetUsage, stderr);
    return kFleetBad;
  }
  return InPrivateFolder("fernwick-fleet", "--fleet", kFleetBad,
                         [&](const fs::path& scratch) { return Fleet(*options, scratch); });
}

}  // namespace fernwick::native
