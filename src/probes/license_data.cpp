#include "probes/license_data.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <set>

#include "common/runtime_error.h"
#include "common/text.h"

namespace fernwick::probes {
namespace {

constexpr std::size_t kBlockSize = 1000;
// A licence page is a few kilobytes; a server that never stops sending is
// not waited for without end.
constexpr std::size_t kLargestPage = 16 * 1024 * 1024;

// The module's error trap: every error is absorbed and the next statement
// runs, with no message (the report lists what was gathered).
template <typename Statement>
void ResumeNext(Statement&& statement) {
  try {
    statement();
  } catch (const std::exception&) {
  }
}

std::vector<platform::XmlNode> ChildNodes(platform::XmlDocument* document, const std::string& path) {
  if (document == nullptr) Raise(err::kObjectVariableNotSet);
  auto nodes = document->ChildNodesOf(path);
  if (!nodes) Raise(err::kObjectVariableNotSet);
  return std::move(*nodes);
}

}  // namespace

bool LicenseData::Add(const std::string& key, const std::string& value) {
  if (!keys_.insert(key).second) return false;
  entries_.emplace_back(key, value);
  return true;
}

std::string StripLeadingWhitespace(std::string_view text) {
  const auto first = text.find_first_not_of("\t\n\r ");
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string HttpGetText(platform::Internet& internet, const std::string& url, std::uint32_t accessType) {
  std::uint32_t error = 0;
  const auto page = internet.OpenUrl("Default", accessType, url, platform::kInternetFlagReload, error);
  if (!page) throw RuntimeError(static_cast<long>(error), "Internet error", "mdlLicense");
  // Only the bytes read are kept: padding each block to its full size would
  // put blanks into the middle of a page that arrives in short blocks.
  std::string body;
  for (;;) {
    const auto block = page->Read(kBlockSize);
    if (!block) throw RuntimeError(static_cast<long>(page->LastError()), "Internet error", "mdlLicense");
    if (block->empty()) break;
    body += *block;
    if (body.size() > kLargestPage) Raise(err::kOutOfMemory);
  }
  return body;
}

LicenseData GetLicenseData(platform::Internet& internet, platform::XmlParser& xml, const std::string& serverName) {
  LicenseData data;
  const std::string url = "http://" + serverName + "/tlxml/effectivelicense.asp";
  std::string text;
  ResumeNext([&] { text = StripLeadingWhitespace(HttpGetText(internet, url, platform::kInternetOpenTypeDirect)); });
  std::unique_ptr<platform::XmlDocument> document;
  ResumeNext([&] {
    document = xml.Load(text);
    if (!document) {
      throw RuntimeError(kLicenseDataError,
                         "There was a problem with the License data from the server." + std::string(kCrLf) +
                             "This is likely caused by invalid XML data returned or a missing effectivelicense.asp "
                             "file on the server." +
                             std::string(kCrLf) + "Use IE to check the data returned from: " + url,
                         "mdlLicense");
    }
    data.SetPageRead();
  });
  std::set<std::string> flagsSet;
  ResumeNext([&] {
    for (const auto& node : ChildNodes(document.get(), "TlXmlLicData/Licenses")) {
      data.Add(node.name, node.text);
      const bool isFlag = std::any_of(std::begin(kLicenseFlags), std::end(kLicenseFlags),
                                      [&](const char* flag) { return node.name == flag; });
      if (isFlag && node.text == "1") flagsSet.insert(node.name);
    }
  });
  for (const char* flag : kLicenseFlags) {
    if (flagsSet.count(flag) == 0) data.Add(flag, "0");
  }
  ResumeNext([&] {
    for (const auto& node : ChildNodes(document.get(), "TlXmlLicData/Utilization")) data.Add(node.name, node.text);
  });
  return data;
}

}  // namespace fernwick::probes
