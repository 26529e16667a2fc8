#pragma once
// mdlLicense: the licence and utilization values the Voxtra server publishes
// as an XML page on its own web server.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/internet.h"
#include "platform/xml.h"

namespace fernwick::probes {

// Keys in insertion order, each once: adding a key that is already there
// leaves the first value. A key is added in constant time, whatever the
// number of entries (a page is outside input).
class LicenseData {
 public:
  // False (and nothing changes) when the key is already present.
  bool Add(const std::string& key, const std::string& value);
  const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }
  // Whether the page was fetched and parsed as XML.
  bool PageRead() const { return pageRead_; }
  void SetPageRead() { pageRead_ = true; }

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
  std::unordered_set<std::string> keys_;
  bool pageRead_ = false;
};

// The flags that are always listed, "0" when the page does not set them.
inline constexpr const char* kLicenseFlags[] = {"LicMaxMsgRecLenIsLicensed", "LicPoolingIsEnabled", "LicVPIMIsLicensed",
                                                "LicAMISIsLicensed", "LicSecondaryServerIsLicensed"};

// The error raised for a page that is not XML (the application-defined
// error base plus 512).
inline constexpr long kLicenseDataError = static_cast<long>(0x80040200 - 0x100000000LL);

// Fetches "http://<serverName>/tlxml/effectivelicense.asp" and lists the
// children of TlXmlLicData/Licenses, the five flags not set to "1" by the
// page, and the children of TlXmlLicData/Utilization. Never raises: a
// download that fails or a page that is not XML leaves the five flags.
LicenseData GetLicenseData(platform::Internet& internet, platform::XmlParser& xml, const std::string& serverName);

// The body of a plain GET (agent "Default", the given access type, always
// from the server, never from the cache). Raises the platform's error when
// the page cannot be opened or read.
std::string HttpGetText(platform::Internet& internet, const std::string& url, std::uint32_t accessType);

// The text from its first character that is not a tab, LF, CR or blank.
std::string StripLeadingWhitespace(std::string_view text);

}  // namespace fernwick::probes
