#pragma once
// The service lists of two CABs (ServiceInfo.csv, as Tabulex writes it:
// columns found by their header's names) side by side: services added or
// removed, and those whose start type, state, account or binary path
// changed. The process id changes with every start and is not compared.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::comparison {

struct ServiceEntry {
  std::string name;
  std::string startType;
  std::string state;
  std::string account;
  std::string binaryPath;
};

// nullopt when the header lacks ServiceName.
std::optional<std::vector<ServiceEntry>> ReadServiceList(std::string_view csv);

struct ServiceChange {
  std::string name;
  bool added = false;
  bool removed = false;
  std::vector<std::string> changes;  // "state: Running -> Stopped"
};

// In the order of the new list, then the removed ones; names compared
// without regard to case, as the service control manager does.
std::vector<ServiceChange> CompareServices(const std::vector<ServiceEntry>& oldList,
                                           const std::vector<ServiceEntry>& newList);

}  // namespace fernwick::comparison
