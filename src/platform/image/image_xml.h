#pragma once
// XML pages parsed with libxml2, answering as the parser Windows ships does
// with its default settings: the text is taken as ANSI (code page 1252)
// whatever the page declares, whitespace-only text between elements is not
// a node, and a node's text is the text of all its descendants with the
// blanks at its ends removed (CDATA kept as written).
//
// A page is read as a stream, never held as a tree: loading reads it once
// to know that it is well-formed, and each question reads it again, keeping
// only the children of the element asked for. What a loaded page holds is
// a copy of its text; at its peak a question holds besides it the answer
// and what the parser keeps of the element names (each distinct name once).
// A page of more than kMostXmlNodes nodes does not load, as a page that is
// no XML: no licence page comes near it, and it keeps any answer small. Nor
// does a page with more than kMostXmlAttributes '=' between one '<' and the
// next (room for that many attributes in one tag: the parser checks each
// attribute of a tag against all those before it).
#include <cstddef>

#include "platform/xml.h"

namespace fernwick::image {

// Elements, texts, CDATA sections, comments and processing instructions,
// end tags and attributes not counted.
inline constexpr std::size_t kMostXmlNodes = 65536;
inline constexpr std::size_t kMostXmlAttributes = 256;

class ImageXmlParser : public platform::XmlParser {
 public:
  std::unique_ptr<platform::XmlDocument> Load(const std::string& text) override;
};

}  // namespace fernwick::image
