#include <algorithm>

#include "common/runtime_error.h"
#include "common/text.h"
#include "platform/config_database.h"

namespace fernwick::platform {

RecordSet::RecordSet(std::vector<std::string> columns, std::vector<std::vector<FieldValue>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

RecordSet::RecordSet(std::vector<std::string> columns, std::shared_ptr<const RowSource> rows)
    : columns_(std::move(columns)), source_(std::move(rows)) {}

std::vector<FieldValue> RecordSet::RowAt(std::size_t index) const {
  return source_ ? source_->Row(index) : rows_.at(index);
}

void RecordSet::MoveNext() {
  if (Eof()) Raise(err::kNoCurrentRecord);
  ++position_;
}

const std::vector<FieldValue>& RecordSet::CurrentRow() const {
  if (Eof()) Raise(err::kNoCurrentRecord);
  if (!source_) return rows_[position_];
  if (currentIndex_ != position_) {
    current_ = source_->Row(position_);
    currentIndex_ = position_;
  }
  return current_;
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
  const std::size_t count = RowCount();
  reads_->rows.reserve(count);
  for (std::size_t i = 0; i < count; ++i) reads_->rows.emplace_back(source_ ? columns_.size() : rows_[i].size(), false);
}

void RecordSet::ShareReadsWith(const RecordSet& other) {
  reads_ = other.reads_;
}

void RecordSet::Close() {
  rows_.clear();
  source_.reset();
  current_.clear();
  currentIndex_ = static_cast<std::size_t>(-1);
  columns_.clear();
  position_ = 0;
}

}  // namespace fernwick::platform
