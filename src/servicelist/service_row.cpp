// One line of the service listing.
#include "servicelist/service_row.h"

#include <algorithm>

namespace tabulex {

namespace {

std::string TextOrEmpty(const char* text) {
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

int StartTypeIndex(std::uint32_t startType) {
  return static_cast<int>(std::min<std::uint32_t>(startType, 5));
}

int StateIndex(std::uint32_t currentState) {
  return static_cast<int>(std::min<std::uint32_t>(currentState, 7));
}

std::string_view StartTypeName(int startTypeIndex) {
  if (startTypeIndex < 0 || startTypeIndex >= static_cast<int>(StartTypeNames.size())) return StartTypeNames.back();
  return StartTypeNames[static_cast<std::size_t>(startTypeIndex)];
}

std::string_view StateName(int stateIndex) {
  if (stateIndex < 1 || stateIndex > static_cast<int>(StateNames.size())) return StateNames.back();
  return StateNames[static_cast<std::size_t>(stateIndex - 1)];
}

ServiceRow MakeServiceRow(const ServiceFacts& facts) {
  ServiceRow row;
  row.serviceName = TextOrEmpty(facts.serviceName);
  row.displayName = TextOrEmpty(facts.displayName);
  row.binaryPath = TextOrEmpty(facts.binaryPath);
  row.account = TextOrEmpty(facts.account);
  row.processId = std::to_string(static_cast<std::int32_t>(facts.processId));
  row.startTypeIndex = StartTypeIndex(facts.startType);
  row.stateIndex = StateIndex(facts.currentState);
  return row;
}

std::string FormatHeader() {
  return "ServiceName,DisplayName,Service Start Type,Service Status,Service Binary Path,Service Account,PID\r\n";
}

std::string FormatRow(const ServiceRow& row) {
  std::string line;
  for (std::string_view field :
       {std::string_view(row.serviceName), std::string_view(row.displayName), StartTypeName(row.startTypeIndex),
        StateName(row.stateIndex), std::string_view(row.binaryPath), std::string_view(row.account)}) {
    line.append(field);
    line.push_back(',');
  }
  line.append(row.processId);
  line.append(kCrLf);
  return line;
}

}  // namespace tabulex
