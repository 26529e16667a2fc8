#pragma once
// Names the Exchange release and service pack that installed a given build
// of the Exchange MAPI library (EMSMDB32.dll).
#include <string>
#include <utility>
#include <vector>

#include "common/message_boxes.h"

namespace fernwick::probes {

class ExchangeInfo {
 public:
  explicit ExchangeInfo(MessageBoxes& boxes);

  // The description of the last build key (in table order) that the
  // version text begins with, letter case ignored; "" when none does.
  std::string GetDescription(const std::string& buildNumber);

  // Build keys and descriptions, in table order.
  const std::vector<std::pair<std::string, std::string>>& Builds() const { return builds_; }

 private:
  MessageBoxes& boxes_;
  std::vector<std::pair<std::string, std::string>> builds_;
};

}  // namespace fernwick::probes
