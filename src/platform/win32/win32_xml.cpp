#include "platform/win32/win32_xml.h"

#include "platform/win32/windows_api.h"

#include <msxml2.h>

#include "platform/win32/win32_handles.h"

namespace fernwick::win32 {
namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Ansi(BSTR text) {
  const int chars = static_cast<int>(SysStringLen(text));
  if (chars == 0) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, text, chars, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, chars, ansi.data(), length, nullptr, nullptr);
  return ansi;
}

class MsxmlDocument : public platform::XmlDocument {
 public:
  MsxmlDocument(std::unique_ptr<ComApartment> apartment, ComPtr<IXMLDOMDocument> document)
      : apartment_(std::move(apartment)), document_(std::move(document)) {}

  std::optional<std::vector<platform::XmlNode>> ChildNodesOf(const std::string& path) override {
    const std::wstring widePath = Wide(path);
    UniqueBstr query(SysAllocStringLen(widePath.data(), static_cast<UINT>(widePath.size())));
    ComPtr<IXMLDOMNode> parent;
    if (document_->selectSingleNode(query.Get(), parent.Put()) != S_OK || !parent) return std::nullopt;
    ComPtr<IXMLDOMNodeList> children;
    if (FAILED(parent->get_childNodes(children.Put())) || !children) return std::nullopt;
    long count = 0;
    children->get_length(&count);
    std::vector<platform::XmlNode> nodes;
    for (long i = 0; i < count; ++i) {
      ComPtr<IXMLDOMNode> child;
      if (FAILED(children->get_item(i, child.Put())) || !child) continue;
      UniqueBstr name;
      UniqueBstr text;
      child->get_nodeName(name.Put());
      child->get_text(text.Put());
      nodes.push_back({Ansi(name.Get()), Ansi(text.Get())});
    }
    return nodes;
  }

 private:
  // Declared first, so that COM is released after the document.
  std::unique_ptr<ComApartment> apartment_;
  ComPtr<IXMLDOMDocument> document_;
};

}  // namespace

std::unique_ptr<platform::XmlDocument> Win32XmlParser::Load(const std::string& text) {
  auto apartment = std::make_unique<ComApartment>();
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(L"Msxml2.DOMDocument", &clsid))) return nullptr;
  ComPtr<IXMLDOMDocument> document;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                              reinterpret_cast<void**>(document.Put()))) ||
      !document) {
    return nullptr;
  }
  document->put_async(VARIANT_FALSE);
  // A licence page never needs anything from elsewhere: nothing is fetched
  // while it loads.
  document->put_resolveExternals(VARIANT_FALSE);
  document->put_validateOnParse(VARIANT_FALSE);
  const std::wstring wide = Wide(text);
  UniqueBstr source(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
  VARIANT_BOOL loaded = VARIANT_FALSE;
  if (FAILED(document->loadXML(source.Get(), &loaded)) || loaded != VARIANT_TRUE) return nullptr;
  return std::make_unique<MsxmlDocument>(std::move(apartment), std::move(document));
}

}  // namespace fernwick::win32
