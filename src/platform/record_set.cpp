#include "common/runtime_error.h"
#include "common/text.h"
#include "platform/config_database.h"

namespace fernwick::platform {

RecordSet::RecordSet(std::vector<std::string> columns, std::vector<std::vector<FieldValue>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

void RecordSet::MoveNext() {
  if (Eof()) Raise(err::kNoCurrentRecord);
  ++position_;
}

const std::vector<FieldValue>& RecordSet::CurrentRow() const {
  if (Eof()) Raise(err::kNoCurrentRecord);
  return rows_[position_];
}

const FieldValue& RecordSet::Field(const std::string& column) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (EqualsNoCase(columns_[i], column)) return CurrentRow()[i];
  }
  Raise(err::kItemNotFound);
}

const FieldValue& RecordSet::Field(std::size_t index) const {
  const auto& row = CurrentRow();
  if (index >= row.size()) Raise(err::kItemNotFound);
  return row[index];
}

void RecordSet::Close() {
  rows_.clear();
  columns_.clear();
  position_ = 0;
}

}  // namespace fernwick::platform
