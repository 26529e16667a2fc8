#include <algorithm>

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

const FieldValue& RecordSet::Read(std::size_t column) const {
  if (reads_ && column < reads_->asked.size()) reads_->asked[column] = true;
  const FieldValue& value = CurrentRow()[column];
  if (reads_ && position_ < reads_->rows.size() && column < reads_->rows[position_].size()) {
    reads_->rows[position_][column] = true;
  }
  return value;
}

const FieldValue& RecordSet::Field(const std::string& column) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (EqualsNoCase(columns_[i], column)) return Read(i);
  }
  Raise(err::kItemNotFound);
}

const FieldValue& RecordSet::Field(std::size_t index) const {
  if (reads_ && index < reads_->asked.size()) {
    reads_->asked[index] = true;
    reads_->byIndex = std::max(reads_->byIndex, index + 1);
  }
  const auto& row = CurrentRow();
  if (index >= row.size()) Raise(err::kItemNotFound);
  return Read(index);
}

void RecordSet::TrackReads() {
  if (reads_) return;
  reads_ = std::make_shared<FieldReads>();
  reads_->asked.assign(columns_.size(), false);
  for (const auto& row : rows_) reads_->rows.emplace_back(row.size(), false);
}

void RecordSet::ShareReadsWith(const RecordSet& other) {
  reads_ = other.reads_;
}

void RecordSet::Close() {
  rows_.clear();
  columns_.clear();
  position_ = 0;
}

}  // namespace fernwick::platform
