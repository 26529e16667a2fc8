#include "dumpel/win32/win32_event_log.h"

#include <cstring>

#include "platform/win32/system_message.h"

namespace fernwick::dumpel {
namespace {

// Seconds since 1970 (an event record's times) as a FILETIME.
FILETIME FileTimeOf(DWORD seconds) {
  ULARGE_INTEGER ticks{};
  ticks.QuadPart = static_cast<ULONGLONG>(seconds) * 10000000ULL + 116444736000000000ULL;
  return FILETIME{ticks.LowPart, ticks.HighPart};
}

// The record's time in local time, as the file shows it; false when it
// cannot be converted.
bool LocalTimeOf(DWORD seconds, SYSTEMTIME& t) {
  const FILETIME utc = FileTimeOf(seconds);
  FILETIME local{};
  return FileTimeToLocalFileTime(&utc, &local) != FALSE && FileTimeToSystemTime(&local, &t) != FALSE;
}

// FileTimeToLocalFileTime adds the time zone's present bias to every time
// alike, so that of one time holds for all records.
long long LocalBias() {
  SYSTEMTIME t{};
  if (!LocalTimeOf(0, t)) return 0;
  return LocalSeconds(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
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

}  // namespace

Win32EventLogReader::Win32EventLogReader(HANDLE log) : log_(log), buffer_(64 * 1024), localBias_(LocalBias()) {}

bool Win32EventLogReader::Next(std::string& failure) {
  if (current_ != nullptr) offset_ += current_->Length;
  current_ = nullptr;
  for (;;) {
    if (offset_ + sizeof(EVENTLOGRECORD) <= read_) {
      const auto* record = reinterpret_cast<const EVENTLOGRECORD*>(buffer_.data() + offset_);
      if (record->Length >= sizeof(EVENTLOGRECORD) && offset_ + record->Length <= read_) {
        current_ = record;
        return true;
      }
    }
    offset_ = 0;
    read_ = 0;
    DWORD needed = 0;
    if (ReadEventLogA(log_, EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ, 0, buffer_.data(),
                      static_cast<DWORD>(buffer_.size()), &read_, &needed) == FALSE) {
      const DWORD code = GetLastError();
      read_ = 0;
      if (code == ERROR_INSUFFICIENT_BUFFER && needed > buffer_.size()) {
        buffer_.resize(needed);
        continue;
      }
      if (code != ERROR_HANDLE_EOF) failure = win32::SystemMessage(code);
      return false;
    }
    if (read_ == 0) return false;
  }
}

long long Win32EventLogReader::GeneratedSeconds() const {
  return static_cast<long long>(current_->TimeGenerated) + localBias_;
}

EventRecord Win32EventLogReader::Convert(bool withUser) {
  const EVENTLOGRECORD& record = *current_;
  EventRecord r;
  if (SYSTEMTIME t{}; LocalTimeOf(record.TimeGenerated, t)) {
    r.year = t.wYear;
    r.month = t.wMonth;
    r.day = t.wDay;
    r.hour = t.wHour;
    r.minute = t.wMinute;
    r.second = t.wSecond;
  }
  r.type = EventTypeName(record.EventType);
  r.category = record.EventCategory;
  r.eventId = record.EventID;
  const char* base = reinterpret_cast<const char*>(&record);
  const char* end = base + record.Length;
  const char* source = base + sizeof(EVENTLOGRECORD);
  r.source = std::string(source, strnlen(source, static_cast<std::size_t>(end - source)));
  const char* computer = source + r.source.size() + 1;
  if (computer < end) r.computer = std::string(computer, strnlen(computer, static_cast<std::size_t>(end - computer)));
  if (withUser) r.user = UserOf(record);
  const char* text = base + record.StringOffset;
  for (WORD i = 0; i < record.NumStrings && text < end; ++i) {
    const std::size_t length = strnlen(text, static_cast<std::size_t>(end - text));
    r.strings.emplace_back(text, length);
    text += length + 1;
  }
  return r;
}

}  // namespace fernwick::dumpel
