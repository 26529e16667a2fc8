#include "platform/image/image_xml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>

#include "common/ansi_code_page.h"

namespace fernwick::image {
namespace {

struct FreeDocument {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocumentPtr = std::unique_ptr<xmlDoc, FreeDocument>;

std::string Utf8(const xmlChar* text) {
  return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

bool IsXmlBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsBlankText(const xmlNode* node) {
  if (node->type != XML_TEXT_NODE || node->content == nullptr) return node->type == XML_TEXT_NODE;
  for (const xmlChar* c = node->content; *c != 0; ++c) {
    if (!IsXmlBlank(static_cast<char>(*c))) return false;
  }
  return true;
}

std::string TrimXmlBlanks(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsXmlBlank(text[first])) ++first;
  while (last > first && IsXmlBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// Text and CDATA below `node`, in document order.
void CollectText(const xmlNode* node, std::string& out, bool& hasCdata) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (child->type == XML_TEXT_NODE) out += Utf8(child->content);
    if (child->type == XML_CDATA_SECTION_NODE) {
      out += Utf8(child->content);
      hasCdata = true;
    }
    if (child->type == XML_ELEMENT_NODE || child->type == XML_ENTITY_REF_NODE) CollectText(child, out, hasCdata);
  }
}

std::string ElementName(const xmlNode* node) {
  const std::string local = Utf8(node->name);
  return node->ns != nullptr && node->ns->prefix != nullptr ? Utf8(node->ns->prefix) + ":" + local : local;
}

std::optional<platform::XmlNode> AsNode(const xmlNode* node) {
  switch (node->type) {
    case XML_ELEMENT_NODE: {
      std::string text;
      bool hasCdata = false;
      CollectText(node, text, hasCdata);
      return platform::XmlNode{Utf8ToAnsi(ElementName(node)), Utf8ToAnsi(hasCdata ? text : TrimXmlBlanks(text))};
    }
    case XML_TEXT_NODE: return platform::XmlNode{"#text", Utf8ToAnsi(TrimXmlBlanks(Utf8(node->content)))};
    case XML_CDATA_SECTION_NODE: return platform::XmlNode{"#cdata-section", Utf8ToAnsi(Utf8(node->content))};
    case XML_COMMENT_NODE: return platform::XmlNode{"#comment", Utf8ToAnsi(Utf8(node->content))};
    case XML_PI_NODE: return platform::XmlNode{Utf8ToAnsi(Utf8(node->name)), Utf8ToAnsi(Utf8(node->content))};
    default: return std::nullopt;
  }
}

const xmlNode* FirstChildElement(const xmlNode* parent, const std::string& name) {
  for (const xmlNode* child = parent->children; child != nullptr; child = child->next) {
    if (child->type == XML_ELEMENT_NODE && ElementName(child) == name) return child;
  }
  return nullptr;
}

class LibXmlDocument : public platform::XmlDocument {
 public:
  explicit LibXmlDocument(DocumentPtr doc) : doc_(std::move(doc)) {}

  std::optional<std::vector<platform::XmlNode>> ChildNodesOf(const std::string& path) override {
    const xmlNode* current = reinterpret_cast<const xmlNode*>(doc_.get());
    std::size_t start = 0;
    while (current != nullptr) {
      const auto slash = path.find('/', start);
      current = FirstChildElement(current, path.substr(start, slash == std::string::npos ? slash : slash - start));
      if (slash == std::string::npos) break;
      start = slash + 1;
    }
    if (current == nullptr) return std::nullopt;
    std::vector<platform::XmlNode> nodes;
    for (const xmlNode* child = current->children; child != nullptr; child = child->next) {
      if (IsBlankText(child)) continue;
      if (auto node = AsNode(child)) nodes.push_back(std::move(*node));
    }
    return nodes;
  }

 private:
  DocumentPtr doc_;
};

}  // namespace

std::unique_ptr<platform::XmlDocument> ImageXmlParser::Load(const std::string& text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
  // No network, no external entities, no messages on the console.
  DocumentPtr doc(xmlReadMemory(text.data(), static_cast<int>(text.size()), "page.xml", "WINDOWS-1252",
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  if (!doc || xmlDocGetRootElement(doc.get()) == nullptr) return nullptr;
  return std::make_unique<LibXmlDocument>(std::move(doc));
}

}  // namespace fernwick::image
