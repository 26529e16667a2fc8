#pragma once
// An XML document parser as the platform offers one.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fernwick::platform {

struct XmlNode {
  std::string name;  // the node name ("#text" and "#comment" for those kinds)
  std::string text;  // the text of the node and all its descendants
};

class XmlDocument {
 public:
  virtual ~XmlDocument() = default;
  // The child nodes, in document order, of the first element that the path
  // ("A/B") selects; nullopt when none does.
  virtual std::optional<std::vector<XmlNode>> ChildNodesOf(const std::string& path) = 0;
};

class XmlParser {
 public:
  virtual ~XmlParser() = default;
  // nullptr when the text is not a well-formed document.
  virtual std::unique_ptr<XmlDocument> Load(const std::string& text) = 0;
};

}  // namespace fernwick::platform
