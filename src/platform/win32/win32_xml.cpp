#include "platform/win32/win32_xml.h"

namespace fernwick::win32 {

std::unique_ptr<platform::XmlDocument> Win32XmlParser::Load(const std::string& /*text*/) {
  return nullptr;  // no parser yet: every page reads as not XML
}

}  // namespace fernwick::win32
