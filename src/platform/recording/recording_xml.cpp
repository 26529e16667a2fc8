#include "platform/recording/recording_xml.h"

namespace fernwick::recording {
namespace {

bool IsLeadingBlank(char c) {
  return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

// Whether `text` is the page's body from its first character that is no
// blank: what the gathering hands to the parser.
bool IsPageText(const std::string& body, const std::string& text) {
  if (body.size() < text.size() || body.compare(body.size() - text.size(), text.size(), text) != 0) return false;
  for (std::size_t i = 0; i < body.size() - text.size(); ++i) {
    if (!IsLeadingBlank(body[i])) return false;
  }
  return !text.empty() && !IsLeadingBlank(text[0]);
}

void Keep(platform::XmlParser& parser, CapturedPage& page, bool loaded) {
  page.keptBody = KeptXmlPage(parser, page.body, loaded, page.xmlAnswers);
}

class RecordingDocument : public platform::XmlDocument {
 public:
  RecordingDocument(std::unique_ptr<platform::XmlDocument> real, platform::XmlParser& parser, Capture& capture,
                    std::size_t page)
      : real_(std::move(real)), parser_(parser), capture_(capture), page_(page) {}

  std::optional<std::vector<platform::XmlNode>> ChildNodesOf(const std::string& path) override {
    auto children = real_->ChildNodesOf(path);
    if (page_ < capture_.pages.size()) {
      CapturedPage& page = capture_.pages[page_];
      bool asked = false;
      for (const XmlAnswer& answer : page.xmlAnswers) asked = asked || answer.path == path;
      if (!asked) {
        page.xmlAnswers.push_back({path, children});
        Keep(parser_, page, true);
      }
    }
    return children;
  }

 private:
  std::unique_ptr<platform::XmlDocument> real_;
  platform::XmlParser& parser_;
  Capture& capture_;
  std::size_t page_;
};

}  // namespace

std::unique_ptr<platform::XmlDocument> RecordingXml::Load(const std::string& text) {
  std::unique_ptr<platform::XmlDocument> document = real_.Load(text);
  for (std::size_t i = 0; i < capture_.pages.size(); ++i) {
    CapturedPage& page = capture_.pages[i];
    // A page read whole and loaded once; any other text is kept as read.
    if (page.openError != 0 || page.readError != 0 || page.xmlLoadAsked || !IsPageText(page.body, text)) continue;
    page.xmlLoadAsked = true;
    Keep(real_, page, document != nullptr);
    if (!document) return document;
    return std::make_unique<RecordingDocument>(std::move(document), real_, capture_, i);
  }
  return document;
}

}  // namespace fernwick::recording
