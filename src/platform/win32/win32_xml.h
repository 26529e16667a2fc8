#pragma once
// XML documents through the parser Windows ships.
#include "platform/xml.h"

namespace fernwick::win32 {

class Win32XmlParser : public platform::XmlParser {
 public:
  std::unique_ptr<platform::XmlDocument> Load(const std::string& text) override;
};

}  // namespace fernwick::win32
