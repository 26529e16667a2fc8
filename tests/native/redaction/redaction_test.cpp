// The redaction engine: consistent pseudonyms, what is found, what is kept,
// every encoding, the keyword and map files.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "native/peak_heap.h"
#include "redaction/file_redaction.h"
#include "redaction/keyword_file.h"
#include "redaction/map_file.h"
#include "redaction/name_collection.h"
#include "redaction/package_redaction.h"

namespace fernwick::redaction {
namespace {

struct Fixture {
  RedactionMap map;
  TextRedactor redactor{map};
  Fixture() {
    map.AddName(Kind::Host, "VOXTRA01");
    map.AddName(Kind::Domain, "CORP");
    map.AddName(Kind::Domain, "corp.example.com");
  }
  std::string operator()(std::string_view text) { return redactor.Redact(text); }
};

std::string Utf16(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    out += '\0';
  }
  return out;
}

TEST(RedactionPseudonyms, AreTheSameWhateverTheCaseAndFollowTheCaseOfLowerCaseOriginals) {
  Fixture r;
  EXPECT_EQ(r("Voxtra server name = VOXTRA01"), "Voxtra server name = HOST01");
  EXPECT_EQ(r("Host Name . . . : voxtra01"), "Host Name . . . : host01");
  EXPECT_EQ(r("Voxtra01 and VoXtRa01"), "HOST01 and HOST01");
}

TEST(RedactionPseudonyms, ShortNameAndFqdnShareTheHostAndNamesUnderADomainStayUnderItsPseudonym) {
  Fixture r;
  const std::string fqdn = r("DC01.corp.example.com");
  const std::string shortName = r("DC01");
  ASSERT_NE(fqdn, "DC01.corp.example.com");
  EXPECT_EQ(fqdn.substr(0, fqdn.find('.')), shortName);
  const std::string domain = r("CORP.EXAMPLE.COM");
  EXPECT_EQ(Lower(fqdn.substr(fqdn.find('.') + 1)), Lower(domain));
  const std::string sub = r("DC05.sales.corp.example.com");
  EXPECT_NE(Lower(sub).find("." + Lower(domain)), std::string::npos) << sub;
  EXPECT_EQ(r("CORP"), "DOMAIN01");
  EXPECT_EQ(domain.rfind("DOMAIN01.", 0), 0u) << "the DNS domain's first label is the NetBIOS domain";
  EXPECT_EQ(domain.substr(domain.size() - 8), ".INVALID");
}

TEST(RedactionPseudonyms, AreUpperCaseLettersAndDigits) {
  Fixture r;
  r.map.AddName(Kind::Account, "svc-voxtra");
  for (const auto& e : r.map.Entries()) {
    if (e.kind == Kind::Host || e.kind == Kind::Account) {
      EXPECT_EQ(e.pseudonym.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), std::string::npos);
    }
  }
}

TEST(RedactionPseudonyms, NeverTakeAnOriginalsName) {
  RedactionMap map;
  EXPECT_EQ(map.AddName(Kind::Host, "HOST01"), "HOST02");
  EXPECT_EQ(map.AddName(Kind::Host, "VOXTRA01"), "HOST03");
  EXPECT_EQ(map.AddName(Kind::Host, "host01"), "HOST02");
}

struct AddressCase {
  const char* text;
  const char* expected;  // nullptr: changed, whatever to
};

// Names each case after its text in test listings.
void PrintTo(const AddressCase& c, std::ostream* os) {
  *os << c.text;
}

class RedactionAddresses : public ::testing::TestWithParam<AddressCase> {};

TEST_P(RedactionAddresses, AreReplacedOrKept) {
  Fixture r;
  const std::string out = r(GetParam().text);
  if (GetParam().expected != nullptr) {
    EXPECT_EQ(out, GetParam().expected);
  } else {
    EXPECT_NE(out, GetParam().text);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RedactionAddresses,
    ::testing::Values(AddressCase{"IP Address. . . : 10.20.1.11", "IP Address. . . : 198.51.100.11"},
                      AddressCase{"Gateway 10.20.1.1, DNS 10.20.1.5", "Gateway 198.51.100.1, DNS 198.51.100.5"},
                      AddressCase{"Subnet Mask . . : 255.255.255.0", "Subnet Mask . . : 255.255.255.0"},
                      AddressCase{"loopback 127.0.0.1 any 0.0.0.0", "loopback 127.0.0.1 any 0.0.0.0"},
                      AddressCase{"SUW Version : 4.2.1.12 : 03/14/2008", "SUW Version : 4.2.1.12 : 03/14/2008"},
                      AddressCase{"\"FullVersion\"=\"5.2.0.277\"", "\"FullVersion\"=\"5.2.0.277\""},
                      AddressCase{"TORB 2.0.4.1 build", nullptr},
                      AddressCase{"Presentation Font Cache 3.0.0.0,Manual", "Presentation Font Cache 3.0.0.0,Manual"},
                      AddressCase{"version 9.00.3042.00", "version 9.00.3042.00"},
                      AddressCase{"MAPI build 6.5.7638.1", "MAPI build 6.5.7638.1"},
                      AddressCase{"at 22:47:07 on 12/06/2026", "at 22:47:07 on 12/06/2026"},
                      AddressCase{"Physical Address: 00-1A-A0-3C-51-7E", "Physical Address: 02-00-00-00-00-01"},
                      AddressCase{"mac 00:1a:a0:3c:51:7e.", "mac 02:00:00:00:00:01."},
                      AddressCase{"link fe80::21a:a0ff:fe3c:517e%11", "link fe80::1%11"},
                      AddressCase{"ula fd12:3456:789a:1::25", "ula 2001:db8:0:1::1"},
                      AddressCase{"loopback ::1 and ::", "loopback ::1 and ::"}));

TEST(RedactionAddresses, KeepTheirSubnetTogether) {
  Fixture r;
  const std::string a = r("10.20.1.11"), b = r("10.20.1.12"), c = r("10.30.0.21");
  EXPECT_EQ(a.substr(0, a.rfind('.')), b.substr(0, b.rfind('.')));
  EXPECT_NE(a.substr(0, a.rfind('.')), c.substr(0, c.rfind('.')));
  EXPECT_EQ(a.substr(a.rfind('.')), ".11");
}

TEST(RedactionPatterns, FindEmailUncHostsAccountsAndNamesUnderKnownDomains) {
  Fixture r;
  EXPECT_EQ(r("mail to jane.doe@corp.example.com"), "mail to user01@domain01.domain02.invalid");
  EXPECT_EQ(r("share \\\\FILESRV02\\Voxtra"), "share \\\\HOST02\\Voxtra");
  EXPECT_EQ(RedactFileBytes("capture.reg", "\"Output Path\"=\"\\\\\\\\LOGSRV\\\\VoxtraLogs\"", r.redactor),
            "\"Output Path\"=\"\\\\\\\\HOST03\\\\VoxtraLogs\"");
  EXPECT_EQ(RedactFileBytes("versions.txt", "x.dll\tstring\t\\\\StringFileInfo\\\\040904b0", r.redactor),
            "x.dll\tstring\t\\\\StringFileInfo\\\\040904b0");
  EXPECT_EQ(r("C:\\\\Program Files\\\\Voxtra"), "C:\\\\Program Files\\\\Voxtra");
  EXPECT_EQ(r("runs as CORP\\svc-voxtra"), "runs as DOMAIN01\\user02");
  EXPECT_EQ(r("NT AUTHORITY\\SYSTEM"), "NT AUTHORITY\\SYSTEM");
  EXPECT_EQ(r("host mail7.corp.example.com"), "host host04.domain01.domain02.invalid");
  EXPECT_EQ(r("MAIL7"), "HOST04");
}

TEST(RedactionPatterns, TheCollectingPassLearnsTheNamesThatDiscoveryLearns) {
  const std::string text =
      "Delivery to jane.doe@corp.example.com by mail7.corp.example.com; archive \\\\FILESRV02\\Voxtra "
      "for CORP\\svc-voxtra, 10.20.1.11, DC01.sales.corp.example.com, C:\\Program Files\\Voxtra 2.0.4.";
  Fixture discovered, collected;
  discovered.redactor.Discover(text);
  collected.redactor.Collect(text);
  const auto names = [](const RedactionMap& map) {
    std::set<std::string> found;
    for (const auto& e : map.Entries()) {
      if (e.kind != Kind::IPv4 && e.kind != Kind::Subnet4)
        found.insert(std::string(KindName(e.kind)) + " " + e.original);
    }
    return found;
  };
  EXPECT_EQ(names(collected.map), names(discovered.map));
  EXPECT_GT(names(collected.map).size(), 8u);
}

TEST(RedactionPatterns, LearningReadsTheLogsAgainWhenTheyTaughtADomain) {
  // The host under example.org stands before the e-mail address that makes
  // example.org a domain.
  const std::string log = "relay mail9.example.org ready\r\nmail from ann@example.org\r\n";
  Fixture r;
  int readings = 0;
  LearnNames(
      r.redactor, [] {},
      [&] {
        ++readings;
        LineStreamRedactor stream(r.redactor, LineStreamRedactor::Pass::kCollect);
        stream.Feed(log);
        stream.Finish();
      });
  EXPECT_EQ(readings, 2);
  EXPECT_EQ(Lower(r(log)).find("mail9"), std::string::npos) << r(log);
}

TEST(RedactionPatterns, MatchWholeWordsOnly) {
  Fixture r;
  EXPECT_EQ(r("Microsoft Corporation CORPORATE VOXTRA01x xVOXTRA01"),
            "Microsoft Corporation CORPORATE VOXTRA01x xVOXTRA01");
}

TEST(RedactionEncodings, Utf16AndRegistryHexAreRedactedToo) {
  Fixture r;
  const std::string wide = "\xFF\xFE" + Utf16("Server VOXTRA01\r\n");
  EXPECT_EQ(RedactFileBytes("Prompt.ini", wide, r.redactor), "\xFF\xFE" + Utf16("Server HOST01\r\n"));
  // REG_MULTI_SZ "CORP\svc" "VOXTRA01": UTF-16LE bytes as hex.
  std::string hex;
  for (unsigned char c : Utf16(std::string("VOXTRA01") + '\0' + '\0')) {
    static const char* digits = "0123456789abcdef";
    if (!hex.empty()) hex += ',';
    hex += digits[c >> 4];
    hex += digits[c & 0xF];
  }
  const std::string reg = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\r\n\"Servers\"=hex(7):" + hex + "\r\n";
  const std::string out = RedactFileBytes("capture.reg", reg, r.redactor);
  EXPECT_EQ(out.find("56,00,4f,00,58,00"), std::string::npos) << out;
  EXPECT_NE(out.find("48,00,4f,00,53,00,54,00,30,00,31,00"), std::string::npos) << out;
}

TEST(RedactionEncodings, StreamedPiecesGiveTheSameBytesAsTheWhole) {
  Fixture whole, pieces;
  std::string text;
  for (int i = 0; i < 200; ++i)
    text += "12/06/2026,22:01:09,Warning,x,1,\"VOXTRA01 10.20.1." + std::to_string(i % 250) + "\"\r\n";
  const std::string expected = whole(text);
  LineStreamRedactor stream(pieces.redactor, LineStreamRedactor::Pass::kRedact, 64);
  std::string out;
  for (std::size_t at = 0; at < text.size(); at += 37) out += stream.Feed(std::string_view(text).substr(at, 37));
  out += stream.Finish();
  EXPECT_EQ(out, expected);
}

TEST(RedactionEncodings, TheCollectingPassHoldsAPieceAndABoundedCacheWhateverTheLogsLength) {
  // Every line another dotted word, each remembered as looked at.
  std::string log;
  for (int i = 0; log.size() < (16u << 20); ++i) {
    log += "12/06/2026,22:01:09,Information,x,1,wrote report-" + std::to_string(i) + ".example-log on VOXTRA01\r\n";
  }
  Fixture r;
  const long long peak = testing::PeakHeapGrowth([&] {
    LineStreamRedactor stream(r.redactor, LineStreamRedactor::Pass::kCollect);
    for (std::size_t at = 0; at < log.size(); at += 1 << 20) stream.Feed(std::string_view(log).substr(at, 1 << 20));
    stream.Finish();
  });
  if (peak >= 0) {
    EXPECT_LT(peak, 12ll << 20) << "bytes held at the peak";
  }
}

TEST(RedactionCollection, TakesNamesFromLabelledLinesValuesAndColumns) {
  RedactionMap map;
  CollectNames("VoxtraSystemInfo.txt",
               "     Partner Server Name : VOXTRA02\r\n     Partner Domino Server = NOTES01/Example\r\n"
               "          corp.example.com : DC01.corp.example.com\r\n"
               "    Hostname. . . . . . . . . . . . . : voxtra01-long-dns-name\r\n",
               map);
  CollectNames("ServerImage\\answers.txt", "query\tx\tselect\ncolumns\tAlias\tIsSubscriber\nrow\tjsmith\t1\n", map);
  CollectNames("ServiceInfo.csv", "h\r\nVoxtraMsg,Voxtra Messaging,Automatic,Running,x.exe,CORP\\voxsvc,1\r\n", map);
  for (const char* name : {"VOXTRA02", "NOTES01", "Example", "DC01", "corp.example.com", "jsmith", "voxsvc", "CORP",
                           "voxtra01-long-dns-name"}) {
    EXPECT_NE(map.FindName(name), nullptr) << name;
  }
  EXPECT_EQ(map.FindName("Administrator"), nullptr);
  AddValue(Kind::Account, "LocalSystem", map);
  EXPECT_EQ(map.FindName("LocalSystem"), nullptr);
}

TEST(RedactionFiles, KeywordFileErrorsNameTheLine) {
  EXPECT_EQ(ParseKeywordFile("; mine\r\nProject Heron\r\n\r\nacme\r\n").keywords.size(), 2u);
  EXPECT_EQ(ParseKeywordFile("Project Heron\r\nab\r\n").error, "line 2: \"ab\" is shorter than 3 characters");
  EXPECT_EQ(ParseKeywordFile("\xFF\xFEx\0").error, "line 1: the file is UTF-16; save it as ANSI text");
  EXPECT_EQ(ParseKeywordFile(std::string("ok one\nbad\x01word\n")).error, "line 2: a control character in the keyword");
}

TEST(RedactionFiles, MapFileRoundTripsAndRefusesContradictions) {
  Fixture r;
  r("10.20.1.11 fe80::1:2 00-1A-A0-3C-51-7E DC01.corp.example.com jane.doe@corp.example.com");
  const auto file = ParseMapFile(MapFileText(r.map));
  ASSERT_EQ(file.error, "");
  RedactionMap again;
  std::string error;
  ASSERT_TRUE(again.Load(file.entries, error)) << error;
  TextRedactor redactor(again);
  EXPECT_EQ(redactor.Redact("VOXTRA01 10.20.1.11 DC01"), r("VOXTRA01 10.20.1.11 DC01"));
  EXPECT_EQ(ParseMapFile("host\tVOXTRA01\n").error,
            "line 1: not three fields separated by tabs (kind, original, pseudonym)");
  EXPECT_EQ(ParseMapFile("; x\nplace\tA\tB\n").error, "line 2: unknown kind \"place\"");
  EXPECT_EQ(ParseMapFile("host\tA\thost1\n").error,
            "line 1: \"host1\" is no pseudonym of kind host that Fernwick makes");
  EXPECT_EQ(ParseMapFile("ipv4\t10.1.1\t198.51.100.1\n").error, "line 1: \"10.1.1\" is no ipv4");
  const auto twice = ParseMapFile("host\tA1\tHOST01\nhost\tB1\tHOST01\n");
  RedactionMap contradicted;
  EXPECT_FALSE(contradicted.Load(twice.entries, error));
  EXPECT_EQ(error, "the pseudonym \"HOST01\" stands for two originals");
}

TEST(RedactionNote, NamesTheMissingPromptListWhenItWasCutAndItsLengthChanged) {
  const std::string report =
      "     Prompts : *Warning* - The following are missing :\r\n         C:\\Voxtra\\Heron\\a.wav\r\n"
      "        <more prompts are missing but are not displayed>\r\n";
  const std::string longer =
      "     Prompts : *Warning* - The following are missing :\r\n         C:\\Voxtra\\KEYWORD01\\a.wav\r\n"
      "        <more prompts are missing but are not displayed>\r\n";
  EXPECT_NE(LengthDependentLines(report, longer).find("may end a line earlier or later"), std::string::npos);
  EXPECT_EQ(LengthDependentLines(report, report), "");
  EXPECT_EQ(LengthDependentLines("no list\r\n", "no list at all\r\n"), "");
}

TEST(RedactionNote, CountsEachKindAndGoesUnderTheSummaryHeading) {
  std::map<Kind, int> counts{{Kind::Host, 3}, {Kind::IPv4, 1}};
  const std::string note = RedactionNote(counts);
  EXPECT_EQ(note.rfind("VoxtraInfo.cab is redacted: 3 host names, 0 domain names, 0 account names, ", 0), 0u) << note;
  EXPECT_NE(note.find("1 IPv4 address,"), std::string::npos);
  EXPECT_EQ(SummaryWithNote("<body>\r\n<h1>x</h1>\r\nrest", "a<b"),
            "<body>\r\n<h1>x</h1>\r\n<p class=\"redacted\"><strong>a&lt;b</strong></p>\r\nrest");
}

}  // namespace
}  // namespace fernwick::redaction
