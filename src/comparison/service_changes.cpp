#include "comparison/service_changes.h"

#include <array>
#include <cstddef>
#include <map>
#include <set>

#include "common/text.h"
#include "comparison/csv_records.h"

namespace fernwick::comparison {
namespace {

// The compared columns: the header's name, the field, and how a change reads.
struct ServiceColumn {
  std::string_view header;
  std::string ServiceEntry::*field;
  std::string_view what;
};
const std::array kColumns = {
    ServiceColumn{"ServiceName", &ServiceEntry::name, "name"},
    ServiceColumn{"Service Start Type", &ServiceEntry::startType, "start type"},
    ServiceColumn{"Service Status", &ServiceEntry::state, "state"},
    ServiceColumn{"Service Account", &ServiceEntry::account, "account"},
    ServiceColumn{"Service Binary Path", &ServiceEntry::binaryPath, "binary path"},
};

// The entries by their upper-cased names.
std::map<std::string, const ServiceEntry*> ByName(const std::vector<ServiceEntry>& list) {
  std::map<std::string, const ServiceEntry*> names;
  for (const auto& entry : list) names.emplace(ToUpper(entry.name), &entry);
  return names;
}

}  // namespace

std::optional<std::vector<ServiceEntry>> ReadServiceList(std::string_view csv) {
  bool mark = false;
  CsvRecords records(WithoutByteOrderMark(csv, mark));
  std::vector<std::string> fields;
  if (!records.Next(fields)) return std::nullopt;
  std::array<std::optional<std::size_t>, kColumns.size()> at{};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
      if (EqualsNoCase(Trim(fields[i]), kColumns[c].header)) at[c] = i;
    }
  }
  if (!at[0]) return std::nullopt;
  std::vector<ServiceEntry> list;
  std::set<std::string> names;
  while (records.Next(fields)) {
    ServiceEntry entry;
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
      if (at[c] && *at[c] < fields.size()) entry.*kColumns[c].field = fields[*at[c]];
    }
    // A service name is unique on a server: a second row of one is not read.
    if (!entry.name.empty() && names.insert(ToUpper(entry.name)).second) list.push_back(std::move(entry));
  }
  return list;
}

std::vector<ServiceChange> CompareServices(const std::vector<ServiceEntry>& oldList,
                                           const std::vector<ServiceEntry>& newList) {
  const auto oldNames = ByName(oldList);
  const auto newNames = ByName(newList);
  std::vector<ServiceChange> out;
  for (const auto& now : newList) {
    const auto found = oldNames.find(ToUpper(now.name));
    const ServiceEntry* old = found == oldNames.end() ? nullptr : found->second;
    ServiceChange change{now.name, old == nullptr, false, {}};
    if (old != nullptr) {
      for (const auto& column : kColumns) {
        if (column.field == &ServiceEntry::name || (*old).*column.field == now.*column.field) continue;
        change.changes.push_back(std::string(column.what) + ": " + (*old).*column.field + " -> " + now.*column.field);
      }
    }
    if (change.added || !change.changes.empty()) out.push_back(std::move(change));
  }
  for (const auto& old : oldList) {
    if (!newNames.contains(ToUpper(old.name))) out.push_back({old.name, false, true, {}});
  }
  return out;
}

}  // namespace fernwick::comparison
