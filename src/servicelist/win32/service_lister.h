#pragma once
// Lists the Win32 services of the local machine into a CSV file, one write
// per line, straight through to disk.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "servicelist/service_row.h"
#include "servicelist/win32/file_handle.h"
#include "servicelist/win32/service_handle.h"

namespace tabulex::win32 {

class ServiceLister {
 public:
  // Opens the service control manager; a failure leaves the handle empty and
  // Run tries once more.
  explicit ServiceLister(std::string outputFileName);

  // The number of service lines written, 0 when there is no service control
  // manager or no file, or the enumeration's error code (-1 when it found
  // nothing to list).
  long Run();

 private:
  struct Enumeration {
    std::vector<BYTE> buffer;
    DWORD count = 0;
    const ENUM_SERVICE_STATUS_PROCESSA* entries() const {
      return reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSA*>(buffer.data());
    }
  };

  bool OpenOutputFile();
  long EnumerateServices(Enumeration& enumeration);
  std::optional<ServiceRow> QueryServiceConfiguration(const ENUM_SERVICE_STATUS_PROCESSA& entry);
  bool WriteLine(std::string_view line);

  ServiceHandle manager_;
  std::string outputFileName_;
  FileHandle outputFile_;
};

}  // namespace tabulex::win32
