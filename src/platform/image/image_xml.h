#pragma once
// XML pages parsed with libxml2, answering as the parser Windows ships does
// with its default settings: the text is taken as ANSI (code page 1252)
// whatever the page declares, whitespace-only text between elements is not
// a node, and a node's text is the text of all its descendants with the
// blanks at its ends removed (CDATA kept as written).
#include "platform/xml.h"

namespace fernwick::image {

class ImageXmlParser : public platform::XmlParser {
 public:
  std::unique_ptr<platform::XmlDocument> Load(const std::string& text) override;
};

}  // namespace fernwick::image
