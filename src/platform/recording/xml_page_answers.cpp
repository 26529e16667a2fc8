#include "platform/recording/xml_page_answers.h"

#include <memory>

namespace fernwick::recording {
namespace {

// An element of the written page: either the children recorded for it, or
// the elements on the way to answered ones.
struct Element {
  std::string name;
  const std::vector<platform::XmlNode>* answered = nullptr;
  std::vector<std::unique_ptr<Element>> below;
};

bool IsNameStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsXmlName(const std::string& name) {
  if (name.empty() || !IsNameStart(static_cast<unsigned char>(name[0]))) return false;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (!IsNameStart(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.') return false;
  }
  return true;
}

std::optional<std::vector<std::string>> PathSteps(const std::string& path) {
  std::vector<std::string> steps;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = path.find('/', start);
    steps.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
    if (!IsXmlName(steps.back())) return std::nullopt;
    if (slash == std::string::npos) return steps;
    start = slash + 1;
  }
}

std::string Escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
  return out;
}

bool WriteNode(const platform::XmlNode& node, std::string& out) {
  if (node.name == "#text") {
    out += Escaped(node.text);
  } else if (node.name == "#cdata-section") {
    if (node.text.find("]]>") != std::string::npos) return false;
    out += "<![CDATA[" + node.text + "]]>";
  } else if (node.name == "#comment") {
    if (node.text.find("--") != std::string::npos || (!node.text.empty() && node.text.back() == '-')) return false;
    out += "<!--" + node.text + "-->";
  } else if (IsXmlName(node.name)) {
    // A processing instruction answers as an element of its name and text.
    out += node.text.empty() ? "<" + node.name + "/>"
                             : "<" + node.name + ">" + Escaped(node.text) + "</" + node.name + ">";
  } else {
    return false;
  }
  return true;
}

bool WriteElement(const Element& element, std::string& out) {
  const bool empty = element.answered != nullptr ? element.answered->empty() : element.below.empty();
  if (empty) {
    out += "<" + element.name + "/>";
    return true;
  }
  out += "<" + element.name + ">";
  if (element.answered != nullptr) {
    for (const platform::XmlNode& node : *element.answered) {
      if (!WriteNode(node, out)) return false;
    }
  } else {
    for (const auto& child : element.below) {
      if (!WriteElement(*child, out)) return false;
    }
  }
  out += "</" + element.name + ">";
  return true;
}

// A root that no question names: the page loads, and every path misses.
std::string UnaskedRoot(const std::vector<XmlAnswer>& answers) {
  for (int n = 0;; ++n) {
    const std::string name = n == 0 ? "page" : "page" + std::to_string(n);
    bool asked = false;
    for (const XmlAnswer& answer : answers) {
      asked = asked || answer.path == name || answer.path.rfind(name + "/", 0) == 0;
    }
    if (!asked) return "<" + name + "/>";
  }
}

bool SameChildren(const std::vector<platform::XmlNode>& a, const std::vector<platform::XmlNode>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].text != b[i].text) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> XmlPageAnswering(const std::vector<XmlAnswer>& answers) {
  std::unique_ptr<Element> root;
  for (const XmlAnswer& answer : answers) {
    if (!answer.children) continue;
    const auto steps = PathSteps(answer.path);
    if (!steps) return std::nullopt;
    if (!root) root = std::make_unique<Element>(Element{(*steps)[0], nullptr, {}});
    if (root->name != (*steps)[0]) return std::nullopt;
    Element* at = root.get();
    for (std::size_t i = 1; i < steps->size(); ++i) {
      if (at->answered != nullptr) return std::nullopt;
      Element* next = nullptr;
      for (const auto& child : at->below) {
        if (child->name == (*steps)[i]) next = child.get();
      }
      if (next == nullptr) {
        at->below.push_back(std::make_unique<Element>(Element{(*steps)[i], nullptr, {}}));
        next = at->below.back().get();
      }
      at = next;
    }
    if (at->answered != nullptr || !at->below.empty()) return std::nullopt;
    at->answered = &*answer.children;
  }
  if (!root) return UnaskedRoot(answers);
  std::string out;
  if (!WriteElement(*root, out)) return std::nullopt;
  return out;
}

std::string KeptXmlPage(platform::XmlParser& parser, const std::string& body, bool loaded,
                        const std::vector<XmlAnswer>& answers) {
  if (!loaded) return parser.Load("") == nullptr ? std::string() : body;
  const std::optional<std::string> page = XmlPageAnswering(answers);
  if (!page) return body;
  const std::unique_ptr<platform::XmlDocument> document = parser.Load(*page);
  if (!document) return body;
  for (const XmlAnswer& answer : answers) {
    const auto children = document->ChildNodesOf(answer.path);
    if (children.has_value() != answer.children.has_value()) return body;
    if (children && !SameChildren(*children, *answer.children)) return body;
  }
  return *page;
}

}  // namespace fernwick::recording
