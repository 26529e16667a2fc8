// A redaction that proves itself: the check of the redacted files by
// characters in every encoding, the forms of names and addresses found
// inside longer tokens, the words that are never replaced so that an image
// still replays, the map that cannot lie, and the bounded pseudonym ranges.
#include <gtest/gtest.h>

#include <string>

#include "platform/image/image_code_pages.h"
#include "redaction/file_redaction.h"
#include "redaction/keyword_file.h"
#include "redaction/map_file.h"
#include "redaction/name_collection.h"
#include "redaction/package_redaction.h"
#include "redaction/redaction_check.h"
#include "redaction/reveal.h"

namespace fernwick::redaction {
namespace {

struct Site {
  RedactionMap map;
  TextRedactor redactor{map};
  image::ImageCodePages codePages;
  explicit Site(std::uint32_t codePage = 1252) : codePages(codePage) {
    redactor.SetCodePage(codePage);
    map.SetToUtf8([this, codePage](std::string_view text) { return codePages.ToUtf8(text, codePage); });
    map.AddName(Kind::Host, "VOXTRA01");
    map.AddName(Kind::Domain, "CORP");
    map.AddName(Kind::Name, "M\xFCller & S\xF6hne");
    map.AddIPv4(0x0A14010B);  // 10.20.1.11
  }
  std::string operator()(std::string_view text) { return redactor.Redact(text); }
  std::optional<Kind> Find(std::string_view bytes) {
    const std::uint32_t codePage = codePages.AnsiCodePage();
    RedactionCheck check(map, [&](std::string_view text) { return codePages.ToUtf8(text, codePage); });
    return check.Find("file.txt", bytes);
  }
};

std::string Utf16(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    out += '\0';
  }
  return out;
}

struct CheckCase {
  const char* text;
  bool found;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.text;
}

class RedactionCheckRule : public ::testing::TestWithParam<CheckCase> {};

// An original stands wherever no letter or digit of its own script
// continues it, on either side.
TEST_P(RedactionCheckRule, FindsAnOriginalNotContinuedByALetterOrDigitOfItsScript) {
  Site site;
  EXPECT_EQ(site.Find(GetParam().text).has_value(), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(Table, RedactionCheckRule,
                         ::testing::Values(CheckCase{"log VOXTRA01_20261207.log", true}, CheckCase{"x.corp-DC01", true},
                                           CheckCase{"jdbc 10.20.1.11:1433", true}, CheckCase{"voxtra01", true},
                                           CheckCase{"M\xFCller & S\xF6hne", true},              // ANSI
                                           CheckCase{"M\xC3\xBCller &amp; S\xC3\xB6hne", true},  // UTF-8, HTML-escaped
                                           CheckCase{"&#86;OXTRA01", true},
                                           CheckCase{"CORPORATION and MEGACORP", false}, CheckCase{"VOXTRA012", false},
                                           CheckCase{"10.20.1.115 110.20.1.11", false},
                                           CheckCase{"HOST01 DOMAIN01 198.51.100.11", false}));

TEST(RedactionCheck, ReadsUtf16AndDoubleByteTextByCharacters) {
  Site site;
  EXPECT_EQ(site.Find("\xFF\xFE" + Utf16("Server VOXTRA01")), Kind::Host);
  // Code page 932: the trail byte of the katakana "ba" is "o", a letter as a
  // byte; as characters, VOXTRA01 stands alone.
  Site japanese(932);
  const std::string katakana = "\x83\x54\x81\x5B\x83\x6F";
  EXPECT_EQ(japanese.Find(katakana + "VOXTRA01"), Kind::Host);
  EXPECT_EQ(japanese(katakana + "VOXTRA01"), katakana + "HOST01");
  EXPECT_FALSE(japanese.Find(japanese(katakana + "VOXTRA01")));
}

struct FormCase {
  const char* text;
  const char* expected;
};

void PrintTo(const FormCase& c, std::ostream* os) {
  *os << c.text;
}

class RedactionForms : public ::testing::TestWithParam<FormCase> {};

TEST_P(RedactionForms, AreReplacedWhereTheyStandOrKept) {
  Site site;
  const std::string out = site(GetParam().text);
  EXPECT_EQ(out, GetParam().expected);
  EXPECT_FALSE(site.Find(out)) << out;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RedactionForms,
    ::testing::Values(FormCase{"jdbc 10.20.1.11:1433 and 10.20.1.11", "jdbc 198.51.100.11:1433 and 198.51.100.11"},
                      FormCase{"sip:4001@10.20.1.12:5060;transport=udp", "sip:4001@198.51.100.12:5060;transport=udp"},
                      FormCase{"scope 10.20.1.100-10.20.1.200", "scope 198.51.100.100-198.51.100.200"},
                      FormCase{"Address:fd12:3456:789a:1::25", "Address:2001:db8:0:1::1"},
                      FormCase{"VOXTRA01_20261207.log CORP-DC01", "HOST01_20261207.log DOMAIN01-DC01"},
                      FormCase{"DUID 00-01-00-01-12-34-56-78-00-1A-A0-3C-51-7E",
                               "DUID 00-01-00-01-12-34-56-78-02-00-00-00-00-01"},
                      FormCase{"Physical Address 001AA03C517E", "Physical Address 020000000001"},
                      FormCase{"port 001a.a03c.517e", "port 0200.0000.0001"},
                      FormCase{"CLSID {6BA7B810-9DAD-11D1-80B4-00C04FD430C8} at 202612071530",
                               "CLSID {6BA7B810-9DAD-11D1-80B4-00C04FD430C8} at 202612071530"},
                      FormCase{"CORPORATION VOXTRA012", "CORPORATION VOXTRA012"},
                      FormCase{"Owner: M\xFCller & S\xF6hne", "Owner: NAME01"},
                      FormCase{"<td>M\xC3\xBCller &amp; S\xC3\xB6hne</td>", "<td>NAME01</td>"}));

TEST(RedactionForms, ProfileFoldersAndHostsUnderDomainsNamedNowhereElseAreNames) {
  Site site;
  EXPECT_EQ(site("C:\\Users\\mwilson\\Desktop, C:\\Documents and Settings\\Public, mwilson"),
            "C:\\Users\\user01\\Desktop, C:\\Documents and Settings\\Public, user01");
  const std::string out = site("relay smtp.partner.com via dc02.emea.acme.local; setup.exe.config archive.tar.gz");
  EXPECT_EQ(out.find("partner"), std::string::npos) << out;
  EXPECT_EQ(out.find("acme"), std::string::npos) << out;
  EXPECT_NE(out.find("; setup.exe.config archive.tar.gz"), std::string::npos) << out;
}

TEST(RedactionForms, ASqlServerInstanceIsANameAShareIsNot) {
  RedactionMap map;
  AddValue(Kind::Host, "HOST03\\VOXSQL", map);
  AddValue(Kind::Host, "\\\\FILESRV02\\Archive", map);
  AddValue(Kind::Host, "HOST04\\SQLEXPRESS", map);
  EXPECT_NE(map.FindName("VOXSQL"), nullptr);
  EXPECT_NE(map.FindName("HOST03"), nullptr);
  EXPECT_EQ(map.FindName("Archive"), nullptr);
  EXPECT_EQ(map.FindName("SQLEXPRESS"), nullptr);
}

TEST(RedactionForms, AKnownMacIsReplacedInEveryFormItTakes) {
  Site site;
  const std::string dashed = site("00-1A-A0-3C-51-7E");
  EXPECT_EQ(site("bare 001AA03C517E"), "bare 020000000001");
  EXPECT_EQ(dashed, "02-00-00-00-00-01");
}

TEST(RedactionProtection, WordsFernwickReadsAreKeptListedAndTheImageStillReads) {
  RedactionMap map;
  TextRedactor redactor(map);
  EXPECT_EQ(map.AddName(Kind::Domain, "OFFICE"), "OFFICE");
  AddValue(Kind::Account, "CORP\\Messaging", map);
  AddValue(Kind::Account, "NT SERVICE\\SQLSERVERAGENT", map);
  map.AddName(Kind::Keyword, "Voxtra");
  map.AddName(Kind::Keyword, "query");
  for (const char* word : {"OFFICE", "Messaging", "SQLSERVERAGENT", "NT SERVICE", "Voxtra", "query"}) {
    EXPECT_EQ(map.FindName(word), nullptr) << word;
  }
  EXPECT_EQ(redactor.Redact("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\Outlook]\r\n"
                            "key\tSOFTWARE\\MICROSOFT\\WINDOWS MESSAGING SUBSYSTEM 2\r\nquery\tx\tselect 1\r\n"),
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\Outlook]\r\n"
            "key\tSOFTWARE\\MICROSOFT\\WINDOWS MESSAGING SUBSYSTEM 2\r\nquery\tx\tselect 1\r\n");
  EXPECT_EQ(redactor.Redact("CORP\\Messaging"), "DOMAIN01\\Messaging");
  const std::string note = KeptNote(map.Kept());
  EXPECT_NE(note.find("\"OFFICE\" (domain, a word of the registry paths Fernwick reads)"), std::string::npos) << note;
  EXPECT_NE(note.find("\"query\" (keyword, a keyword of the server image's files)"), std::string::npos) << note;
}

TEST(RedactionFiles, KeywordsOfOtherScriptsOrEndingInPunctuationAreRefusedClearly) {
  EXPECT_EQ(ParseKeywordFile("Project Heron\r\n(Heron)\r\n").error,
            "line 2: \"(Heron)\" begins or ends with a character that is no letter or digit: name the word alone");
  EXPECT_NE(ParseKeywordFile("\xC3\xE0\xE7\xEF\xF0\xEE\xEC\r\n").error.find("outside ASCII"), std::string::npos);
  EXPECT_NE(ParseKeywordFile("Smith & Sons\r\n").error.find("holds &, <, >"), std::string::npos);
  EXPECT_EQ(ParseKeywordFile("Project-Heron 2\r\n").error, "");
}

TEST(RedactionFiles, AMapThatWouldLieIsRefused) {
  EXPECT_EQ(ParseMapFile("host\tVOXTRA01\tVOXTRA01\n").error,
            "line 1: \"VOXTRA01\" stands for itself: its pseudonym must differ");
  EXPECT_EQ(ParseMapFile("host\tVOXTRA01\tBOB\n").error,
            "line 1: \"BOB\" is no pseudonym of kind host that Fernwick makes");
  EXPECT_EQ(ParseMapFile("ipv4\t10.20.1.11\t8.8.8.8\n").error,
            "line 1: \"8.8.8.8\" is no pseudonym of kind ipv4 that Fernwick makes");
  EXPECT_EQ(ParseMapFile("host\tDC01.corp.example.com\tHOST01.DOMAIN01.DOMAIN02.INVALID\n").error, "");
  for (const char* original : {"the", "-", "Version", "Office"}) {
    const auto file = ParseMapFile("name\t" + std::string(original) + "\tNAME01\n");
    ASSERT_EQ(file.error, "") << original;
    RedactionMap map;
    std::string error;
    EXPECT_FALSE(map.Load(file.entries, error)) << original;
    EXPECT_NE(error.find("is never replaced"), std::string::npos) << error;
  }
}

TEST(RedactionPseudonyms, SubnetsAreGivenInConstantTimeAndNeverLeaveThePrivateRanges) {
  RedactionMap map;
  std::uint32_t last = 0;
  for (std::uint32_t n = 0; n < 3 + 65536; ++n) last = map.AddIPv4(0x0B000001 + (n << 8));
  EXPECT_EQ(last >> 24, 10u);
  EXPECT_THROW(map.AddIPv4(0x0D000001), RangeExhausted);
}

TEST(RedactionReveal, PutsTheOriginalsBackIntoAVendorsReply) {
  Site site;
  const std::string text = "VOXTRA01 (10.20.1.11, 10.20.1.99) in CORP, DC01.corp.example.com";
  site.map.AddName(Kind::Host, "DC01.corp.example.com");
  const std::string redacted = site(text);
  ASSERT_EQ(redacted.find("VOXTRA01"), std::string::npos);
  const Revealer revealer(site.map);
  EXPECT_EQ(revealer.Reveal(redacted + "; restart host01, see 198.51.100.42"),
            text + "; restart voxtra01, see 10.20.1.42");
  EXPECT_EQ(revealer.RevealFileBytes(Utf16(redacted)), Utf16(text));
}

}  // namespace
}  // namespace fernwick::redaction
