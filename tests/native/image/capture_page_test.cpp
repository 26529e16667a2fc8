// Of the licence page a capture keeps only the elements the gathering read:
// the page written answers every question as the real one did, and holds
// nothing else. A page that cannot be rewritten that way is kept whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "native/odbc/scratch_folder.h"
#include "platform/image/image_xml.h"
#include "platform/image/server_image.h"
#include "platform/recording/recorder.h"
#include "platform/recording/xml_page_answers.h"
#include "probes/license_data.h"

namespace fernwick::recording {
namespace {

const char* const kPaths[] = {"TlXmlLicData/Licenses", "TlXmlLicData/Utilization"};

std::vector<XmlAnswer> Ask(platform::XmlParser& parser, const std::string& page) {
  std::vector<XmlAnswer> answers;
  const auto document = parser.Load(page);
  if (!document) return answers;
  for (const char* path : kPaths) answers.push_back({path, document->ChildNodesOf(path)});
  return answers;
}

void ExpectSameAnswers(const std::vector<XmlAnswer>& got, const std::vector<XmlAnswer>& want, const std::string& page) {
  ASSERT_EQ(got.size(), want.size()) << page;
  for (std::size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i].children.has_value(), want[i].children.has_value()) << page;
    if (!got[i].children) continue;
    ASSERT_EQ(got[i].children->size(), want[i].children->size()) << page;
    for (std::size_t j = 0; j < got[i].children->size(); ++j) {
      EXPECT_EQ((*got[i].children)[j].name, (*want[i].children)[j].name) << page;
      EXPECT_EQ((*got[i].children)[j].text, (*want[i].children)[j].text) << page;
    }
  }
}

TEST(CapturePage, OnlyTheElementsReadAreKeptAndTheyAnswerAlike) {
  const struct {
    const char* page;
    const char* secret;  // what must not be kept; nullptr when the page stays whole
  } cases[]{
      {"<?xml version=\"1.0\"?><TlXmlLicData><Owner>Hollowmere Trading</Owner><Licenses serial=\"HX-991\">"
       "<LicPorts>24</LicPorts></Licenses><Utilization><LicPortsUsed>3</LicPortsUsed></Utilization>"
       "</TlXmlLicData>",
       "Hollowmere"},
      {"<TlXmlLicData>\r\n <Owner>Hollowmere</Owner><Licenses><!-- issued --><LicPorts> 8 </LicPorts>text &amp; "
       "more<![CDATA[a<b]]><Nested><Deep>x</Deep></Nested></Licenses></TlXmlLicData>",
       "Owner"},
      {"<TlXmlLicData><Other>Hollowmere</Other></TlXmlLicData>", "Hollowmere"},  // neither path there
      {"<Elsewhere><Licenses>Hollowmere</Licenses></Elsewhere>", "Hollowmere"},  // another root
      {"<TlXmlLicData><Licenses><x>a&#13;b</x><y/></Licenses></TlXmlLicData>", nullptr},
      {"<TlXmlLicData xmlns:p=\"urn:x\"><Licenses><p:Ports>1</p:Ports><?note a?></Licenses></TlXmlLicData>", nullptr},
  };
  image::ImageXmlParser parser;
  for (const auto& c : cases) {
    const auto answers = Ask(parser, c.page);
    ASSERT_FALSE(answers.empty()) << c.page;
    const std::string kept = KeptXmlPage(parser, c.page, true, answers);
    ExpectSameAnswers(Ask(parser, kept), answers, c.page);
    if (c.secret != nullptr) {
      EXPECT_EQ(kept.find(c.secret), std::string::npos) << kept;
    }
  }
}

TEST(CapturePage, APageThatIsNoXmlIsKeptEmpty) {
  image::ImageXmlParser parser;
  EXPECT_EQ(KeptXmlPage(parser, "<html>Hollowmere: 404 <b></html>", false, {}), "");
}

TEST(CapturePage, AnswersThatNoPageCanGiveKeepThePageWhole) {
  const std::vector<platform::XmlNode> some{{"a", "1"}};
  const struct {
    std::vector<XmlAnswer> answers;
  } cases[]{
      {{{"A", some}, {"A/B", some}}},    // an answered path below another
      {{{"A/B", some}, {"C/D", some}}},  // two roots
      {{{"A//B", some}}},                // no XML name
      {{{"A", std::vector<platform::XmlNode>{{"#document-fragment", ""}}}}},
  };
  for (const auto& c : cases) EXPECT_FALSE(XmlPageAnswering(c.answers).has_value());
  image::ImageXmlParser parser;
  EXPECT_EQ(KeptXmlPage(parser, "<A><B>x</B></A>", true, cases[0].answers), "<A><B>x</B></A>");
}

// The licence probe through the recorder: the written page holds only what
// the report lists, and the capture gives the same licence data.
TEST(CapturePage, TheRecordedLicencePageReplaysToTheSameData) {
  testing::ScratchFolder scratch;
  const auto root = scratch.Path() / "image";
  std::filesystem::copy(std::filesystem::path(FERNWICK_SOURCE_DIR) / "samples" / "exchange2003-42", root,
                        std::filesystem::copy_options::recursive);
  const auto pagePath = root / "pages" / "VOXTRA01" / "tlxml" / "effectivelicense.asp";
  std::ofstream(pagePath, std::ios::binary)
      << "\r\n  <?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<TlXmlLicData><Customer>Hollowmere Trading"
         "</Customer><Licenses><LicPorts>24</LicPorts><LicPoolingIsEnabled>1</LicPoolingIsEnabled></Licenses>"
         "<Utilization><LicPortsUsed>\xE9t\xE9</LicPortsUsed></Utilization></TlXmlLicData>\r\n";
  image::ServerImage source(root, scratch.Path() / "out", "fernwick");
  Recorder recorder(source.Platform());
  const auto read = probes::GetLicenseData(recorder.Platform().internet, recorder.Platform().xml, "VOXTRA01");
  ASSERT_TRUE(read.PageRead());
  ASSERT_EQ(recorder.WriteImage("C:\\Capture\\"), "");
  const auto written = *source.Files().HostPath("C:\\Capture");
  const auto kept = source.Files().ReadWholeFile("C:\\Capture\\pages\\VOXTRA01\\tlxml\\effectivelicense.asp");
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->find("Hollowmere"), std::string::npos) << *kept;

  image::ServerImage replay(written, scratch.Path() / "out2", "fernwick");
  const auto again = probes::GetLicenseData(replay.Platform().internet, replay.Platform().xml, "VOXTRA01");
  EXPECT_TRUE(again.PageRead());
  EXPECT_EQ(again.Entries(), read.Entries());
}

}  // namespace
}  // namespace fernwick::recording
