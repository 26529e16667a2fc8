// The service listing over the real service control manager.
#include "servicelist/win32/service_lister.h"

#include <utility>

namespace tabulex::win32 {

namespace {

ServiceHandle OpenServiceControlManager() {
  return ServiceHandle(OpenSCManagerA(nullptr, "ServicesActive", SC_MANAGER_ENUMERATE_SERVICE));
}

}  // namespace

ServiceLister::ServiceLister(std::string outputFileName)
    : manager_(OpenServiceControlManager()), outputFileName_(std::move(outputFileName)) {}

long ServiceLister::Run() {
  if (!manager_) manager_ = OpenServiceControlManager();
  if (!manager_) return 0;

  if (!OpenOutputFile()) return 0;
  WriteLine(FormatHeader());

  Enumeration enumeration;
  if (long code = EnumerateServices(enumeration); code != 0) return code;

  long written = 0;
  for (DWORD i = 0; i < enumeration.count; ++i) {
    std::optional<ServiceRow> row = QueryServiceConfiguration(enumeration.entries()[i]);
    if (row && WriteLine(FormatRow(*row))) ++written;
  }
  return written;
}

bool ServiceLister::OpenOutputFile() {
  outputFile_ = FileHandle(CreateFileA(outputFileName_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_ARCHIVE | FILE_FLAG_WRITE_THROUGH, nullptr));
  return static_cast<bool>(outputFile_);
}

// One sizing call and one fetching call: a list that grows in between makes
// the fetch fail, and the file keeps its header alone.
long ServiceLister::EnumerateServices(Enumeration& enumeration) {
  DWORD needed = 0;
  DWORD returned = 0;
  DWORD resume = 0;
  if (EnumServicesStatusExA(manager_.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed,
                            &returned, &resume, nullptr)) {
    return -1;
  }
  DWORD error = GetLastError();
  if (error != ERROR_MORE_DATA) return static_cast<long>(error);

  enumeration.buffer.assign(static_cast<std::size_t>(needed) + 1, 0);
  resume = 0;
  if (!EnumServicesStatusExA(manager_.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                             enumeration.buffer.data(), needed, &needed, &returned, &resume, nullptr)) {
    enumeration.buffer.clear();
    return static_cast<long>(GetLastError());
  }
  enumeration.count = returned;
  return 0;
}

std::optional<ServiceRow> ServiceLister::QueryServiceConfiguration(const ENUM_SERVICE_STATUS_PROCESSA& entry) {
  ServiceHandle service(OpenServiceA(manager_.get(), entry.lpServiceName, SERVICE_QUERY_CONFIG));
  DWORD needed = 0;
  if (service) QueryServiceConfigA(service.get(), nullptr, 0, &needed);
  if (needed == 0) return std::nullopt;

  std::vector<BYTE> buffer(static_cast<std::size_t>(needed) + 2, 0);
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
  if (!QueryServiceConfigA(service.get(), config, needed, &needed)) return std::nullopt;

  ServiceFacts facts;
  facts.serviceName = entry.lpServiceName;
  facts.displayName = config->lpDisplayName;
  facts.binaryPath = config->lpBinaryPathName;
  facts.account = config->lpServiceStartName;
  facts.startType = config->dwStartType;
  facts.currentState = entry.ServiceStatusProcess.dwCurrentState;
  facts.processId = entry.ServiceStatusProcess.dwProcessId;
  return MakeServiceRow(facts);
}

bool ServiceLister::WriteLine(std::string_view line) {
  DWORD written = 0;
  return WriteFile(outputFile_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != FALSE;
}

}  // namespace tabulex::win32
