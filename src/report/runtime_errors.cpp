#include "report/runtime_errors.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "common/runtime_error.h"

namespace fernwick::report {
namespace {

constexpr std::string_view kLineStart = "(error):";
constexpr std::string_view kLineEnd = ") in procedure ";

// The runtime's numbers; their descriptions are the program's own
// (ErrorDescription), as its error lines give them.
constexpr std::array kRuntime = {
    RuntimeErrorInfo{err::kInvalidProcedureCall, false, "",
                     "A value the gathering read had a form it cannot work with: a damaged file (a Prompt.ini whose "
                     "section header lacks its closing ]), a command's output in another layout or language, or a "
                     "registry value of an unexpected form. The line after it is missing or empty.",
                     "Read the lines around it: the section and the line after it name what was being read. Repair "
                     "or replace that file or value (for the prompt check, the Prompt.ini of the language; for the "
                     "uptime, run systeminfo in a command prompt and read System Up Time there). Then gather again."},
    RuntimeErrorInfo{err::kOverflow, false, "",
                     "A number read from the registry, a file or the database is larger than the field the "
                     "gathering keeps it in (a DWORD above 2147483647, a size beyond what the field holds).",
                     "Look at the value the line after it names, in regedit or in the Voxtra administration, and "
                     "correct it if it is out of range; otherwise send the report as it is, the rest is complete."},
    RuntimeErrorInfo{err::kOutOfMemory, false, "",
                     "The gathering ran out of memory; the server is short of memory or a file it read was very "
                     "large.",
                     "Close programs that are not needed, or gather at a quieter hour. Then gather again."},
    RuntimeErrorInfo{err::kSubscriptOutOfRange, false, "",
                     "A value, a line or a command's output had fewer parts than the gathering expects (a QoS or "
                     "port setting of another form, an output in another Windows language); the value after it is "
                     "missing or empty.",
                     "Read the line after it: it names the setting that came out empty. Check that setting in regedit "
                     "or in the Voxtra administration and set it again through the Voxtra tools. Then gather again."},
    RuntimeErrorInfo{err::kDivisionByZero, false, "",
                     "A figure the gathering divides by was 0: a drive gave a capacity of 0 (a drive that is not "
                     "ready, a network share that reports no size).",
                     "Check the drive or share of the folder named in the lines above it; when it is a network share, "
                     "its free space is simply not known. Nothing else to do."},
    RuntimeErrorInfo{err::kTypeMismatch, false, "",
                     "A registry value or a field of the configuration database has another type than the gathering "
                     "expects (text where a number belongs).",
                     "In regedit, look at the value the line after it names: a number belongs in a DWORD. Delete the "
                     "value and create it again with its right type, or set it again through the Voxtra tools. Then "
                     "gather again."},
    RuntimeErrorInfo{err::kInternalError, false, "",
                     "Fernwick met a condition it does not expect; the gathering went on with the next statement.",
                     "Send the report and FernwickMessages.txt to technical support as they are."},
    RuntimeErrorInfo{err::kBadFileNameOrNumber, false, "",
                     "A file could not be opened or written: its name holds characters the file system refuses, or "
                     "an earlier step could not open it.",
                     "Read the error lines before it: they name the file or folder that could not be opened. Choose "
                     "an output folder that exists and can be written, then press Write To File again."},
    RuntimeErrorInfo{err::kFileNotFound, false, "",
                     "A file the gathering reads does not exist: a Voxtra file (an upgrade script of 5.0(1), a "
                     "Prompt.ini), or the output file of a Windows command that did not run.",
                     "Read the line after it: it names what could not be read. When that is a Voxtra file, repair "
                     "the Voxtra installation (run its setup and choose Repair). Then gather again."},
    RuntimeErrorInfo{err::kInputPastEndOfFile, false, "",
                     "A file ended before the gathering read what it expects: the file is empty or was cut short.",
                     "Find the file in the section of the line (a Prompt.ini, a command's output) and replace it with "
                     "a whole copy. Then gather again."},
    RuntimeErrorInfo{err::kPermissionDenied, false, "",
                     "The account that runs Fernwick may not read or change a file, a folder or a registry key.",
                     "Run Fernwick as a local administrator (on Windows Server 2008 and later: right-click "
                     "Fernwick.exe, Run as administrator). Then gather again."},
    RuntimeErrorInfo{err::kDiskNotReady, false, "",
                     "A drive the gathering reads is not ready: a removable or DVD drive without a medium, or a "
                     "mapped network drive that is not connected, often the drive of a Voxtra folder named in the "
                     "registry.",
                     "Read the folder lines around it (Core install files, Logging diagnostics and data files): make "
                     "that drive available, or correct the folder in the registry value that names it. Then gather "
                     "again."},
    RuntimeErrorInfo{err::kPathNotFound, false, "",
                     "A folder the gathering reads, or the output folder of Write To File, does not exist.",
                     "Create the folder named in the lines around it, or correct the registry value or the output "
                     "folder that names it. Then gather again, or press Write To File again."},
    RuntimeErrorInfo{err::kObjectVariableNotSet, false, "",
                     "Something the gathering needs could not be made: a component of Windows or Voxtra is not "
                     "registered, or a connection was never opened because an earlier step failed.",
                     "Read the error lines before it: correct the first of them and gather again. When it stands "
                     "alone, send the report as it is to technical support."},
    RuntimeErrorInfo{err::kInvalidUseOfNull, false, "",
                     "A row of the configuration database holds NULL where the gathering needs a value; the line "
                     "after it names the setting, which is then empty.",
                     "Set the value the line after it names in the Voxtra administration (which writes the row). "
                     "Then gather again."},
    RuntimeErrorInfo{err::kWaitTimedOut, false, "",
                     "A program that Fernwick started (systeminfo, ipconfig, a script) ran past its time limit and "
                     "was ended; what it would have written is missing.",
                     "FernwickMessages.txt names the program: run it by hand in a command prompt to see why it hangs "
                     "(a network drive, a prompt for input). Then gather again."},
    RuntimeErrorInfo{err::kUnsupportedValueType, false, "",
                     "A registry value has a type the gathering cannot read (binary or multi-string where text or a "
                     "DWORD belongs).",
                     "In regedit, look at the value the line after it names: delete it and create it again as a "
                     "string or DWORD, as the Voxtra documentation says. Then gather again."},
    RuntimeErrorInfo{err::kNoCurrentRecord, false, "",
                     "A query of the configuration database gave no row where the gathering needs one.",
                     "Check VoxtraDb with the Voxtra administration (its configuration pages write the missing rows), "
                     "or restore VoxtraDb from a backup. Then gather again."},
    RuntimeErrorInfo{err::kItemNotFound, false, "",
                     "A column the gathering asks for is not in the configuration database's answer: VoxtraDb is of "
                     "another Voxtra release than the installed programs.",
                     "Check that VoxtraDb was upgraded with the installed Voxtra release (the release's setup upgrades "
                     "it); ask technical support before changing the database."},
    RuntimeErrorInfo{err::kDatabaseError, false, "", "The database driver failed without giving a number of its own.",
                     "Check that SQL Server runs and VoxtraDb is online (the SQL Server management tool lists it), "
                     "and that the account that runs Fernwick may read it. Then gather again."},
};

// The database's numbers, with the ODBC driver's text.
constexpr std::array kDatabase = {
    RuntimeErrorInfo{17, true,
                     "[Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist or access denied.",
                     "SQL Server could not be reached: its service is stopped, it is not installed on this server, or "
                     "it refused the connection. Every query of VoxtraDb failed, and the lines they would have "
                     "written are missing or empty.",
                     "In Services, start SQL Server (MSSQLSERVER, or the instance that holds VoxtraDb) and set it to "
                     "start automatically. If it runs, check in a command prompt of the account that runs Fernwick "
                     "that osql -E -Q \"select @@version\" answers. Then gather again."},
    RuntimeErrorInfo{18456, true, "[Microsoft][ODBC SQL Server Driver][SQL Server]Login failed for user '...'.",
                     "SQL Server runs, but refused the logon of the account that runs Fernwick; no query of VoxtraDb "
                     "could run.",
                     "Run Fernwick logged on with the account that installed Voxtra, or add the account as a SQL "
                     "Server login with read access to VoxtraDb. Then gather again."},
    RuntimeErrorInfo{18452, true,
                     "[Microsoft][ODBC SQL Server Driver][SQL Server]Login failed for user '(null)'. Reason: Not "
                     "associated with a trusted SQL Server connection.",
                     "SQL Server runs, but does not accept the Windows logon Fernwick uses (it admits SQL Server "
                     "logins only, or the account is of a domain it does not trust).",
                     "Set SQL Server's authentication to SQL Server and Windows (the server's properties, Security), "
                     "or run Fernwick logged on with an account of the server's domain. Then gather again."},
    RuntimeErrorInfo{
        4060, true,
        "[Microsoft][ODBC SQL Server Driver][SQL Server]Cannot open database \"VoxtraDb\" requested by the login. The "
        "login failed.",
        "SQL Server runs and admitted the logon, but VoxtraDb is missing, offline, or closed to the "
        "account; no query of VoxtraDb could run.",
        "In the SQL Server management tool, check that VoxtraDb is attached and online and that the "
        "account that runs Fernwick is a user of it (db_datareader is enough). Then gather again."},
    RuntimeErrorInfo{
        208, true, "[Microsoft][ODBC SQL Server Driver][SQL Server]Invalid object name '...'.",
        "A view or table the gathering reads is not in VoxtraDb: the database is of another Voxtra release "
        "or is damaged.",
        "Check that VoxtraDb was upgraded with the installed Voxtra release; ask technical support before "
        "changing the database."},
    RuntimeErrorInfo{
        229, true,
        "[Microsoft][ODBC SQL Server Driver][SQL Server]SELECT permission denied on object '...', database "
        "'VoxtraDb', owner 'dbo'.",
        "The account that runs Fernwick may log on to VoxtraDb, but not read the view the line names.",
        "Give the account read access to VoxtraDb (the role db_datareader), or run Fernwick with the "
        "account that installed Voxtra. Then gather again."},
    RuntimeErrorInfo{1, true, "[SQLite]no such table: ... (1)",
                     "Only in a server image replayed on a support desk (fernwick --from-cab or an image folder): the "
                     "image's database lacks the table or view the line names. On the server the same query fails "
                     "with 208.",
                     "Nothing to change on the server for this line: the image holds no such table. When the server's "
                     "own report has the line too, see error 208."},
};

constexpr RuntimeErrorInfo kOtherRuntime{
    0, false, "",
    "A statement of the gathering failed with the run-time error in the line; the gathering went on with the next "
    "statement, so the line that would have followed may be missing or empty.",
    "Read the lines around it to see what was being read, correct that, and gather again; or send the report as it "
    "is, the rest is complete."};

constexpr RuntimeErrorInfo kOtherDatabase{
    0, true, "", "A query of the configuration database VoxtraDb failed with the database's error in the line.",
    "Check that SQL Server runs and VoxtraDb is online and readable by the account that runs Fernwick (the SQL "
    "Server management tool shows both). Then gather again."};

constexpr std::array<RuntimeErrorInfo, kRuntime.size() + kDatabase.size()> kAll = [] {
  std::array<RuntimeErrorInfo, kRuntime.size() + kDatabase.size()> all{};
  std::copy(kRuntime.begin(), kRuntime.end(), all.begin());
  std::copy(kDatabase.begin(), kDatabase.end(), all.begin() + kRuntime.size());
  return all;
}();

}  // namespace

std::optional<RuntimeErrorLine> ReadRuntimeErrorLine(std::string_view line) {
  const auto start = line.find_first_not_of(' ');
  if (start == std::string_view::npos || !line.substr(start).starts_with(kLineStart)) return std::nullopt;
  std::string_view rest = line.substr(start + kLineStart.size());
  RuntimeErrorLine out;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), out.number);
  if (error != std::errc() || end == rest.data()) return std::nullopt;
  rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
  if (!rest.starts_with(" (")) return std::nullopt;
  rest.remove_prefix(2);
  const auto close = rest.rfind(kLineEnd);
  out.description = std::string(close == std::string_view::npos ? rest : rest.substr(0, close));
  return out;
}

const RuntimeErrorInfo& RuntimeErrorFor(const RuntimeErrorLine& line) {
  const bool database = line.Database();
  for (const RuntimeErrorInfo& info : kAll) {
    if (info.number == line.number && info.database == database) return info;
  }
  return database ? kOtherDatabase : kOtherRuntime;
}

std::span<const RuntimeErrorInfo> AllRuntimeErrors() {
  return kAll;
}

bool IsConnectionError(const RuntimeErrorLine& line) {
  return line.Database() && (line.number == 17 || line.number == 18456 || line.number == 18452 || line.number == 4060);
}

std::string RuntimeErrorAnchor(const RuntimeErrorInfo& info) {
  // Appended piece by piece: GCC 12 at -O3 takes "M" + to_string() for an
  // overlapping copy (-Wrestrict).
  std::string anchor = info.database ? "DATABASE-ERROR-" : "RUNTIME-ERROR-";
  if (info.number < 0) anchor += 'M';
  anchor += std::to_string(info.number < 0 ? -info.number : info.number);
  return anchor;
}

std::string RuntimeErrorDescription(const RuntimeErrorInfo& info) {
  return info.database ? std::string(info.description) : ErrorDescription(info.number);
}

std::string RuntimeErrorWording(const RuntimeErrorInfo& info) {
  return std::string(kLineStart) + std::to_string(info.number) + " (" + RuntimeErrorDescription(info) +
         std::string(kLineEnd) + "GetSystemInfo of Form frmMain";
}

}  // namespace fernwick::report
