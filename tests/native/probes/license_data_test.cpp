#include "probes/license_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "native/peak_heap.h"
#include "native/time_bound.h"
#include "platform/image/image_xml.h"

namespace fernwick::probes {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// Serves one body for every URL, in blocks as short as `blockSize`, or
// refuses to connect when there is no body.
class OnePageInternet : public platform::Internet {
 public:
  explicit OnePageInternet(std::optional<std::string> body, std::size_t blockSize = 1000)
      : body_(std::move(body)), blockSize_(blockSize) {}
  std::unique_ptr<platform::InternetUrl> OpenUrl(const std::string& agent, std::uint32_t accessType,
                                                 const std::string& url, std::uint32_t flags,
                                                 std::uint32_t& error) override {
    opened.push_back({agent, url, accessType, flags});
    if (!body_) {
      error = platform::kInternetErrorCannotConnect;
      return nullptr;
    }
    return std::make_unique<Body>(*body_, blockSize_);
  }
  struct Open {
    std::string agent, url;
    std::uint32_t accessType, flags;
  };
  std::vector<Open> opened;

 private:
  class Body : public platform::InternetUrl {
   public:
    Body(std::string text, std::size_t block) : text_(std::move(text)), block_(block) {}
    std::optional<std::string> Read(std::size_t maxBytes) override {
      const std::string part = text_.substr(position_, std::min(maxBytes, block_));
      position_ += part.size();
      return part;
    }
    std::uint32_t LastError() const override { return 0; }

   private:
    std::string text_;
    std::size_t block_;
    std::size_t position_ = 0;
  };
  std::optional<std::string> body_;
  std::size_t blockSize_;
};

Entries Gather(std::optional<std::string> page, std::size_t blockSize = 1000) {
  OnePageInternet internet(std::move(page), blockSize);
  image::ImageXmlParser xml;
  return GetLicenseData(internet, xml, "VOXTRA01").Entries();
}

const Entries kOnlyFlags{{"LicMaxMsgRecLenIsLicensed", "0"},
                         {"LicPoolingIsEnabled", "0"},
                         {"LicVPIMIsLicensed", "0"},
                         {"LicAMISIsLicensed", "0"},
                         {"LicSecondaryServerIsLicensed", "0"}};

TEST(LicenseData, PageChildrenFirstThenUnsetFlagsThenUtilization) {
  const Entries expected{{"LicPoolingIsEnabled", "1"},          {"LicVPIMIsLicensed", "0"},
                         {"LicMaxMsgRecLenIsLicensed", "0"},    {"LicAMISIsLicensed", "0"},
                         {"LicSecondaryServerIsLicensed", "0"}, {"LicSubscribersUsed", "120"}};
  EXPECT_EQ(Gather("<TlXmlLicData><Licenses><LicPoolingIsEnabled>1</LicPoolingIsEnabled>"
                   "<LicVPIMIsLicensed>0</LicVPIMIsLicensed></Licenses>"
                   "<Utilization><LicSubscribersUsed>120</LicSubscribersUsed></Utilization></TlXmlLicData>"),
            expected);
}

TEST(LicenseData, FirstValueWinsForANameUnderBothLicensesAndUtilization) {
  const Entries expected{{"LicSubscribers", "500"},    {"LicMaxMsgRecLenIsLicensed", "0"},
                         {"LicPoolingIsEnabled", "0"}, {"LicVPIMIsLicensed", "0"},
                         {"LicAMISIsLicensed", "0"},   {"LicSecondaryServerIsLicensed", "0"},
                         {"LicSubscribersUsed", "7"}};
  EXPECT_EQ(Gather("<TlXmlLicData><Licenses><LicSubscribers>500</LicSubscribers></Licenses>"
                   "<Utilization><LicSubscribers>12</LicSubscribers><LicSubscribersUsed>7</LicSubscribersUsed>"
                   "</Utilization></TlXmlLicData>"),
            expected);
}

TEST(LicenseData, FlagSetTwiceOnThePageKeepsItsFirstValue) {
  const Entries expected{{"LicAMISIsLicensed", "2"},
                         {"LicMaxMsgRecLenIsLicensed", "0"},
                         {"LicPoolingIsEnabled", "0"},
                         {"LicVPIMIsLicensed", "0"},
                         {"LicSecondaryServerIsLicensed", "0"}};
  EXPECT_EQ(Gather("<TlXmlLicData><Licenses><LicAMISIsLicensed>2</LicAMISIsLicensed>"
                   "<LicAMISIsLicensed>1</LicAMISIsLicensed></Licenses></TlXmlLicData>"),
            expected);
}

TEST(LicenseData, NoServerOrNoXmlLeavesTheFiveFlags) {
  EXPECT_EQ(Gather(std::nullopt), kOnlyFlags);
  EXPECT_EQ(Gather("<html><body>The page cannot be found</body>"), kOnlyFlags);
  EXPECT_EQ(Gather(""), kOnlyFlags);
}

TEST(LicenseData, LeadingBlankLinesBeforeTheDeclarationStillLoad) {
  const Entries expected{{"LicPoolingIsEnabled", "1"},
                         {"LicMaxMsgRecLenIsLicensed", "0"},
                         {"LicVPIMIsLicensed", "0"},
                         {"LicAMISIsLicensed", "0"},
                         {"LicSecondaryServerIsLicensed", "0"}};
  EXPECT_EQ(Gather("\r\n\r\n \t<?xml version=\"1.0\"?>\r\n<TlXmlLicData><Licenses>"
                   "<LicPoolingIsEnabled>1</LicPoolingIsEnabled></Licenses></TlXmlLicData>"),
            expected);
}

TEST(LicenseData, PageArrivingInShortBlocksReadsTheSameAsInWholeBlocks) {
  const std::string page =
      "<TlXmlLicData><Licenses><LicPoolingIsEnabled>1</LicPoolingIsEnabled></Licenses>"
      "<Utilization><LicPortsUsed>24</LicPortsUsed></Utilization></TlXmlLicData>";
  EXPECT_EQ(Gather(page, 7), Gather(page));
}

TEST(LicenseData, PageIsFetchedDirectlyFromTheServerNeverFromTheCache) {
  OnePageInternet internet(std::nullopt);
  image::ImageXmlParser xml;
  GetLicenseData(internet, xml, "VOXTRA01");
  ASSERT_EQ(internet.opened.size(), 1u);
  EXPECT_EQ(internet.opened[0].agent, "Default");
  EXPECT_EQ(internet.opened[0].url, "http://VOXTRA01/tlxml/effectivelicense.asp");
  EXPECT_EQ(internet.opened[0].accessType, platform::kInternetOpenTypeDirect);
  EXPECT_EQ(internet.opened[0].flags, platform::kInternetFlagReload);
}

// A page of many distinct elements: each is added in constant time (a scan
// of the entries before each add took minutes).
TEST(LicenseData, ManyDistinctElementsAreAddedInLinearTime) {
  testing::FinishesWithin(std::chrono::seconds(30), [] {
    LicenseData data;
    for (int i = 0; i < 300000; ++i) EXPECT_TRUE(data.Add("e" + std::to_string(i), ""));
    EXPECT_FALSE(data.Add("e299999", "again"));
    ASSERT_EQ(data.Entries().size(), 300000u);
    EXPECT_EQ(data.Entries().back().second, "");
  });
}

// The page is read as a stream, never held as a tree: whatever its shape,
// gathering from it holds at most four times the page and a fixed amount
// (an answer of at most 65,536 nodes). Past the ceilings (nodes, room for
// attributes in one tag) the page is taken as no XML.
TEST(LicenseData, APageCostsAtMostFourTimesItsSizeAndPastTheCeilingsIsNoXml) {
  const auto page = [](const std::string& licences) {
    return "<TlXmlLicData><Licenses>" + licences +
           "</Licenses><Utilization><Ports>4</Ports></Utilization></TlXmlLicData>";
  };
  std::string empties, distinct, attributes;
  for (int i = 0; i < 400000; ++i) empties += "<a/>";
  for (int i = 0; i < 30000; ++i)
    distinct += "<e" + std::to_string(i) + ">" + std::to_string(i) + "</e" + std::to_string(i) + ">";
  attributes = "<a";
  for (int i = 0; i <= 256; ++i) attributes += " a" + std::to_string(i) + "=''";
  attributes += "/>";
  const struct {
    const char* name;
    std::string page;
    std::size_t entries;  // 0: no XML, the five flags alone
  } cases[]{
      {"1.6 MB of <a/>", page(empties), 0},
      {"30,000 distinct elements", page(distinct), 30006},
      {"one long text", page("<Text>" + std::string(2 << 20, 'x') + "</Text>"), 7},
      {"257 attributes", page(attributes), 0},
      {"256 attributes", page(attributes.substr(0, attributes.rfind(" a256")) + "/>"), 7},
  };
  for (const auto& c : cases) {
    OnePageInternet internet(c.page);
    image::ImageXmlParser xml;
    LicenseData data;
    const long long peak = testing::PeakHeapGrowth([&] { data = GetLicenseData(internet, xml, "VOXTRA01"); });
    EXPECT_EQ(data.PageRead(), c.entries > 0) << c.name;
    EXPECT_EQ(data.Entries().size(), c.entries > 0 ? c.entries : kOnlyFlags.size()) << c.name;
    if (peak >= 0) {
      EXPECT_LE(peak, 4 * static_cast<long long>(c.page.size()) + (16 << 20)) << c.name;
    }
  }
}

TEST(LicenseData, StripLeadingWhitespaceSkipsTabsLineEndsAndBlanksOnly) {
  EXPECT_EQ(StripLeadingWhitespace(" \t\r\n<a/> "), "<a/> ");
  EXPECT_EQ(StripLeadingWhitespace(" \t\r\n"), "");
  EXPECT_EQ(StripLeadingWhitespace(""), "");
  EXPECT_EQ(StripLeadingWhitespace("\v<a/>"), "\v<a/>");
}

}  // namespace
}  // namespace fernwick::probes
