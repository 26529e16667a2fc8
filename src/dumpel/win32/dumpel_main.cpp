// dumpel.exe: the records of one event log into a text file,
// "dumpel -d DAYS -format LETTERS -c -l LOG -f FILE".
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <string>
#include <vector>

#include "dumpel/dumpel_options.h"
#include "dumpel/win32/win32_event_log.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_handles.h"

namespace {

using fernwick::win32::SystemMessage;
using fernwick::win32::UniqueEventLog;
using fernwick::win32::UniqueHandle;
using fernwick::win32::UniqueRegistryKey;

int Fail(const std::string& message, int code) {
  std::fprintf(stderr, "dumpel: %s\n", message.c_str());
  return code;
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

  SYSTEMTIME now{};
  GetLocalTime(&now);
  const long long nowSeconds =
      fernwick::dumpel::LocalSeconds(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
  fernwick::dumpel::Win32EventLogReader reader(log.Get());
  const auto dump = fernwick::dumpel::DumpLog(reader, *options, nowSeconds);
  const std::string& bytes = dump.bytes;
  UniqueHandle file(
      CreateFileA(options->file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Fail("cannot create \"" + options->file + "\": " + SystemMessage(GetLastError()), 1);
  DWORD written = 0;
  if (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) == FALSE ||
      written != bytes.size()) {
    return Fail("cannot write \"" + options->file + "\": " + SystemMessage(GetLastError()), 1);
  }
  if (!dump.failure.empty()) {
    return Fail("reading the event log \"" + options->log + "\" stopped part-way: " + dump.failure + "; \"" +
                    options->file + "\" holds the newer records read before",
                3);
  }
  return 0;
}
