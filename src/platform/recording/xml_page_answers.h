#pragma once
// A web page read as XML keeps, in a capture, only what the gathering asked
// of it: the child nodes of the elements it named by path. The smallest page
// that gives the same answers is written instead of the page itself.
#include <optional>
#include <string>
#include <vector>

#include "platform/xml.h"

namespace fernwick::recording {

// One question asked of a loaded page and its answer.
struct XmlAnswer {
  std::string path;                                        // "A/B"
  std::optional<std::vector<platform::XmlNode>> children;  // nullopt: no element there
};

// A document whose elements hold exactly the answered children: each
// answered element with its child nodes (elements as <name>text</name>,
// text, CDATA, comments and processing instructions), nested below the
// elements its path names. nullopt when no such document can be written:
// answers that contradict each other (one answered path below another
// answered one, two roots) or names that are no XML names.
std::optional<std::string> XmlPageAnswering(const std::vector<XmlAnswer>& answers);

// What a capture keeps of a page body that `parser` loaded (`loaded`) or
// could not load, given the questions asked of it: the page answering them
// when `parser` confirms that it loads and answers each question as the page
// did; else the body whole. A page that did not load becomes an empty
// page, when the parser refuses that too.
std::string KeptXmlPage(platform::XmlParser& parser, const std::string& body, bool loaded,
                        const std::vector<XmlAnswer>& answers);

}  // namespace fernwick::recording
