#pragma once
// Compares two dotted version texts field by field ("6.5.7638.1" against
// "6.5.8190.0") and answers "GREATER", "LESSER" or "EQUAL".
#include <cstdint>
#include <string>

#include "common/message_boxes.h"

namespace fernwick::probes {

struct VersionFields {
  std::int16_t iField1 = 0;
  std::int16_t iField2 = 0;
  std::int16_t iField3 = 0;
  std::int16_t iField4 = 0;
};

class VersionCompare {
 public:
  explicit VersionCompare(MessageBoxes& boxes) : boxes_(boxes) {}

  // "GREATER" when `first` is the higher version, "LESSER" when it is the
  // lower one, "EQUAL" otherwise. A field that cannot be read counts as 0.
  std::string CompareVersions(const std::string& first, const std::string& second);

  // Splits a version text into its four fields; the two differ only in the
  // procedure their error message names.
  VersionFields FirstSeperator(const std::string& version);
  VersionFields SecondSeperator(const std::string& version);

  // The two parsed versions of the latest comparison.
  const VersionFields& FirstVersion() const { return first_; }
  const VersionFields& SecondVersion() const { return second_; }

 private:
  VersionFields Separate(const std::string& version, const char* procedure);

  MessageBoxes& boxes_;
  VersionFields first_;
  VersionFields second_;
};

}  // namespace fernwick::probes
