#include "platform/image/image_xml.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/tree.h>
#include <libxml/xmlreader.h>

#include <climits>

#include "common/ansi_code_page.h"

namespace fernwick::image {
namespace {

struct FreeReader {
  void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};
using ReaderPtr = std::unique_ptr<xmlTextReader, FreeReader>;

void Silent(void* /*context*/, const char* /*message*/, ...) {}

// libxml2 reports a few faults (bytes the code page lacks, a text past its
// limit) to its generic handler whatever the parser's options say: while a
// page is read, that handler says nothing.
class SilentParser {
 public:
  SilentParser() : handler_(xmlGenericError), context_(xmlGenericErrorContext) {
    xmlSetGenericErrorFunc(nullptr, Silent);
  }
  ~SilentParser() { xmlSetGenericErrorFunc(context_, handler_); }
  SilentParser(const SilentParser&) = delete;
  SilentParser& operator=(const SilentParser&) = delete;

 private:
  xmlGenericErrorFunc handler_;
  void* context_;
};

// A reader over `text` (not copied). No network, no external entities, no
// messages on the console.
ReaderPtr OpenReader(const std::string& text) {
  return ReaderPtr(xmlReaderForMemory(text.data(), static_cast<int>(text.size()), "page.xml", "WINDOWS-1252",
                                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

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

std::string_view View(const xmlChar* text) {
  return text == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(text));
}

std::string_view TrimXmlBlanks(std::string_view text) {
  while (!text.empty() && IsXmlBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A CDATA section's text with its line ends as a whole-document parse gives
// them: the streaming parser hands CDATA on without making each CR LF and
// lone CR into LF, as it does for all other text.
void AppendCdata(const xmlNode* node, std::string& out) {
  const std::string_view raw = View(node->content);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\r') {
      out.push_back(raw[i]);
    } else if (i + 1 == raw.size() || raw[i + 1] != '\n') {
      out.push_back('\n');
    }
  }
}

// Text and CDATA below `node`, in document order.
void CollectText(const xmlNode* node, std::string& out, bool& hasCdata) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (child->type == XML_TEXT_NODE) out += View(child->content);
    if (child->type == XML_CDATA_SECTION_NODE) {
      AppendCdata(child, out);
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
      return platform::XmlNode{Utf8ToAnsi(ElementName(node)),
                               Utf8ToAnsi(hasCdata ? std::string_view(text) : TrimXmlBlanks(text))};
    }
    case XML_TEXT_NODE: return platform::XmlNode{"#text", Utf8ToAnsi(TrimXmlBlanks(View(node->content)))};
    case XML_CDATA_SECTION_NODE: {
      std::string text;
      AppendCdata(node, text);
      return platform::XmlNode{"#cdata-section", Utf8ToAnsi(text)};
    }
    case XML_COMMENT_NODE: return platform::XmlNode{"#comment", Utf8ToAnsi(View(node->content))};
    case XML_PI_NODE: return platform::XmlNode{Utf8ToAnsi(View(node->name)), Utf8ToAnsi(View(node->content))};
    default: return std::nullopt;
  }
}

std::vector<std::string> PathSteps(const std::string& path) {
  std::vector<std::string> steps;
  std::size_t start = 0;
  for (;;) {
    const auto slash = path.find('/', start);
    steps.push_back(path.substr(start, slash == std::string::npos ? slash : slash - start));
    if (slash == std::string::npos) return steps;
    start = slash + 1;
  }
}

bool IsElement(xmlTextReader* reader) {
  return xmlTextReaderNodeType(reader) == XML_READER_TYPE_ELEMENT;
}

// The page is read again for each question, a node at a time: what is held
// is the page's text, the element asked for and the answer, never a tree
// of the whole page.
class StreamedDocument : public platform::XmlDocument {
 public:
  explicit StreamedDocument(std::string text) : text_(std::move(text)) {}

  std::optional<std::vector<platform::XmlNode>> ChildNodesOf(const std::string& path) override {
    const std::vector<std::string> steps = PathSteps(path);
    const SilentParser silent;
    const ReaderPtr reader = OpenReader(text_);
    if (!reader) return std::nullopt;
    // The first element of each step's name among the children of the one
    // before, as a tree's first-child search finds it.
    int found = 0;  // steps matched: the depth searched
    int read = xmlTextReaderRead(reader.get());
    while (read == 1) {
      const int depth = xmlTextReaderDepth(reader.get());
      if (depth < found) return std::nullopt;  // the element matched last ended without the next step
      if (depth == found && IsElement(reader.get())) {
        if (ElementName(xmlTextReaderCurrentNode(reader.get())) == steps[static_cast<std::size_t>(found)]) {
          if (++found == static_cast<int>(steps.size())) return Children(reader.get(), depth);
          read = xmlTextReaderRead(reader.get());
        } else {
          read = xmlTextReaderNext(reader.get());
        }
        continue;
      }
      read = xmlTextReaderRead(reader.get());
    }
    return std::nullopt;
  }

 private:
  // The child nodes of the element the reader is on, each read whole before
  // the reader moves past it (and frees it).
  static std::optional<std::vector<platform::XmlNode>> Children(xmlTextReader* reader, int depth) {
    std::vector<platform::XmlNode> nodes;
    if (xmlTextReaderIsEmptyElement(reader) == 1) return nodes;
    int read = xmlTextReaderRead(reader);
    while (read == 1 && xmlTextReaderDepth(reader) > depth) {
      const xmlNode* child = xmlTextReaderExpand(reader);
      if (child == nullptr) return std::nullopt;
      if (!IsBlankText(child)) {
        if (auto node = AsNode(child)) nodes.push_back(std::move(*node));
      }
      read = xmlTextReaderNext(reader);
    }
    if (read != 1) return std::nullopt;
    return nodes;
  }

  std::string text_;
};

// Whether a stretch between one '<' and the next holds more '=' than a tag
// may have attributes: an attribute value holds no '<', so every attribute
// of a tag lies in the stretch after its '<'.
bool TooManyAttributes(const std::string& text) {
  std::size_t equals = 0;
  for (const char c : text) {
    if (c == '<') {
      equals = 0;
    } else if (c == '=' && ++equals > kMostXmlAttributes) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::unique_ptr<platform::XmlDocument> ImageXmlParser::Load(const std::string& text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX) || TooManyAttributes(text)) return nullptr;
  const SilentParser silent;
  const ReaderPtr reader = OpenReader(text);
  if (!reader) return nullptr;
  // The whole page is read once: it loads only when it is well-formed and
  // within the ceiling of nodes.
  std::size_t nodes = 0;
  int read = 0;
  while ((read = xmlTextReaderRead(reader.get())) == 1) {
    if (xmlTextReaderNodeType(reader.get()) == XML_READER_TYPE_END_ELEMENT) continue;
    if (++nodes > kMostXmlNodes) return nullptr;
  }
  if (read != 0 || nodes == 0) return nullptr;
  return std::make_unique<StreamedDocument>(text);
}

}  // namespace fernwick::image
