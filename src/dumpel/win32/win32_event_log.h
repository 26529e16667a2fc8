#pragma once
// An event log of this machine read newest record first with ReadEventLog.
#include "platform/win32/windows_api.h"

#include <vector>

#include "dumpel/event_log_dump.h"

namespace fernwick::dumpel {

class Win32EventLogReader : public EventLogReader {
 public:
  explicit Win32EventLogReader(HANDLE log);
  bool Next(std::string& failure) override;
  long long GeneratedSeconds() const override;
  EventRecord Convert(bool withUser) override;

 private:
  HANDLE log_;
  std::vector<BYTE> buffer_;
  DWORD read_ = 0;
  DWORD offset_ = 0;
  const EVENTLOGRECORD* current_ = nullptr;
  long long localBias_;  // local time less UTC, in seconds
};

}  // namespace fernwick::dumpel
