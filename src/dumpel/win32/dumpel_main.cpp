// dumpel.exe: the records of one event log into a text file,
// "dumpel -d DAYS -format LETTERS -c -l LOG -f FILE".
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <vector>

#include "dumpel/dumpel_options.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_handles.h"

namespace {

using fernwick::dumpel::EventRecord;
using fernwick::win32::SystemMessage;
using fernwick::win32::UniqueEventLog;
using fernwick::win32::UniqueHandle;
using fernwick::win32::UniqueRegistryKey;

int Fail(const std::string& message, int code) {
  std::fprintf(stderr, "dumpel: %s\n", message.c_str());
  return code;
}

std::string UserOf(const EVENTLOGRECORD& record) {
  if (record.UserSidLength == 0) return "N/A";
  const auto* sid = reinterpret_cast<const BYTE*>(&record) + record.UserSidOffset;
  char name[256] = {};
  char domain[256] = {};
  DWORD nameSize = sizeof name;
  DWORD domainSize = sizeof domain;
  SID_NAME_USE use{};
  if (LookupAccountSidA(nullptr, const_cast<BYTE*>(sid), name, &nameSize, domain, &domainSize, &use) == FALSE) {
    return "N/A";
  }
  return domainSize > 0 ? std::string(domain) + "\\" + name : std::string(name);
}

EventRecord Convert(const EVENTLOGRECORD& record) {
  EventRecord r;
  // TimeGenerated counts seconds since 1970 UTC; the file shows local time.
  ULARGE_INTEGER ticks{};
  ticks.QuadPart = static_cast<ULONGLONG>(record.TimeGenerated) * 10000000ULL + 116444736000000000ULL;
  FILETIME utc{ticks.LowPart, ticks.HighPart};
  FILETIME local{};
  SYSTEMTIME t{};
  if (FileTimeToLocalFileTime(&utc, &local) != FALSE && FileTimeToSystemTime(&local, &t) != FALSE) {
    r.year = t.wYear;
    r.month = t.wMonth;
    r.day = t.wDay;
    r.hour = t.wHour;
    r.minute = t.wMinute;
    r.second = t.wSecond;
  }
  r.type = fernwick::dumpel::EventTypeName(record.EventType);
  r.category = record.EventCategory;
  r.eventId = record.EventID;
  const char* base = reinterpret_cast<const char*>(&record);
  const char* end = base + record.Length;
  const char* source = base + sizeof(EVENTLOGRECORD);
  r.source = std::string(source, strnlen(source, static_cast<std::size_t>(end - source)));
  const char* computer = source + r.source.size() + 1;
  if (computer < end) r.computer = std::string(computer, strnlen(computer, static_cast<std::size_t>(end - computer)));
  r.user = UserOf(record);
  const char* text = base + record.StringOffset;
  for (WORD i = 0; i < record.NumStrings && text < end; ++i) {
    const std::size_t length = strnlen(text, static_cast<std::size_t>(end - text));
    r.strings.emplace_back(text, length);
    text += length + 1;
  }
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = fernwick::dumpel::ParseDumpelArguments(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) return Fail(error + "\n" + fernwick::dumpel::kUsage, 2);

  // OpenEventLog opens the Application log for a name it does not know:
  // a log that is not registered is refused here instead.
  UniqueRegistryKey key;
  const std::string keyName = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\" + options->log;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) {
    return Fail("cannot open the event log \"" + options->log + "\": there is no such log", 1);
  }
  UniqueEventLog log(OpenEventLogA(nullptr, options->log.c_str()));
  if (log.Get() == nullptr) {
    return Fail("cannot open the event log \"" + options->log + "\": " + SystemMessage(GetLastError()), 1);
  }

  std::vector<EventRecord> records;
  std::vector<BYTE> buffer(64 * 1024);
  for (;;) {
    DWORD read = 0;
    DWORD needed = 0;
    if (ReadEventLogA(log.Get(), EVENTLOG_SEQUENTIAL_READ | EVENTLOG_FORWARDS_READ, 0, buffer.data(),
                      static_cast<DWORD>(buffer.size()), &read, &needed) == FALSE) {
      const DWORD code = GetLastError();
      if (code == ERROR_INSUFFICIENT_BUFFER && needed > buffer.size()) {
        buffer.resize(needed);
        continue;
      }
      if (code == ERROR_HANDLE_EOF) break;
      return Fail("cannot read the event log \"" + options->log + "\": " + SystemMessage(code), 1);
    }
    for (DWORD offset = 0; offset + sizeof(EVENTLOGRECORD) <= read;) {
      const auto* record = reinterpret_cast<const EVENTLOGRECORD*>(buffer.data() + offset);
      if (record->Length < sizeof(EVENTLOGRECORD) || offset + record->Length > read) break;
      records.push_back(Convert(*record));
      offset += record->Length;
    }
  }

  SYSTEMTIME now{};
  GetLocalTime(&now);
  const long long nowSeconds =
      fernwick::dumpel::LocalSeconds(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
  const std::string bytes = fernwick::dumpel::DumpRecords(records, *options, nowSeconds);
  UniqueHandle file(
      CreateFileA(options->file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Fail("cannot create \"" + options->file + "\": " + SystemMessage(GetLastError()), 1);
  DWORD written = 0;
  if (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) == FALSE ||
      written != bytes.size()) {
    return Fail("cannot write \"" + options->file + "\": " + SystemMessage(GetLastError()), 1);
  }
  return 0;
}
