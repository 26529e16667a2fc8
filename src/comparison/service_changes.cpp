#include "comparison/service_changes.h"

#include <array>
#include <cstddef>

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

const ServiceEntry* Find(const std::vector<ServiceEntry>& list, std::string_view name) {
  for (const auto& entry : list) {
    if (EqualsNoCase(entry.name, name)) return &entry;
  }
  return nullptr;
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
  while (records.Next(fields)) {
    ServiceEntry entry;
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
      if (at[c] && *at[c] < fields.size()) entry.*kColumns[c].field = fields[*at[c]];
    }
    if (!entry.name.empty()) list.push_back(std::move(entry));
  }
  return list;
}

std::vector<ServiceChange> CompareServices(const std::vector<ServiceEntry>& oldList,
                                           const std::vector<ServiceEntry>& newList) {
  std::vector<ServiceChange> out;
  for (const auto& now : newList) {
    const ServiceEntry* old = Find(oldList, now.name);
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
    if (Find(newList, old.name) == nullptr) out.push_back({old.name, false, true, {}});
  }
  return out;
}

}  // namespace fernwick::comparison
