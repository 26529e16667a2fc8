#include "shell/update_check.h"

#include <gtest/gtest.h>

#include <deque>

#include "native/probes/fakes.h"

namespace fernwick::shell {
namespace {

struct PadCase {
  const char* version;
  const char* padded;
};

TEST(PadVersionString, ZeroFillsEveryFieldToFourDigitsSoThatTextOrderIsNumericOrder) {
  fakes::ProbeWorld world;
  const PadCase cases[] = {
      {"2.0.4", "0002.0000.0004"},
      {"2.0.10", "0002.0000.0010"},
      {"10.1.0", "0010.0001.0000"},
      {"2.00.0004", "0002.0000.0004"},
      {"1.2.3.4", "0001.0002.0003.0004"},
      {"12345.1", "12345.0001"},
      {"1..2", "0001.0000.0002"},
      {"2.0", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PadVersionString(c.version, world.boxes), c.padded) << c.version;
  EXPECT_TRUE(world.ui.shown.empty());
  EXPECT_LT(PadVersionString("2.0.9", world.boxes), PadVersionString("2.0.10", world.boxes));
}

TEST(PadVersionString, AVersionWithoutDotsOrWithLettersShowsTheErrorAndGivesNothing) {
  fakes::ProbeWorld world;
  EXPECT_EQ(PadVersionString("2004", world.boxes), "");
  EXPECT_EQ(PadVersionString("2.0b.4", world.boxes), "");
  EXPECT_EQ(
      world.ShownTexts(),
      (std::vector<std::string>{"(error):13 (Type mismatch) in procedure PadVersionString of Module modUpdateCheck",
                                "(error):13 (Type mismatch) in procedure PadVersionString of Module modUpdateCheck"}));
}

// A site that answers one body in blocks of at most the asked size.
class FakeInternet : public platform::Internet {
 public:
  std::unique_ptr<platform::InternetUrl> OpenUrl(const std::string& agent, std::uint32_t accessType,
                                                 const std::string& url, std::uint32_t flags,
                                                 std::uint32_t& error) override {
    requests.push_back(agent + " " + std::to_string(accessType) + " " + std::to_string(flags) + " " + url);
    if (!body) {
      error = platform::kInternetErrorCannotConnect;
      return nullptr;
    }
    return std::make_unique<Url>(*body);
  }
  std::optional<std::string> body;
  std::vector<std::string> requests;

 private:
  class Url : public platform::InternetUrl {
   public:
    explicit Url(std::string rest) : rest_(std::move(rest)) {}
    std::optional<std::string> Read(std::size_t maxBytes) override {
      const std::string block = rest_.substr(0, maxBytes);
      rest_.erase(0, block.size());
      return block;
    }
    std::uint32_t LastError() const override { return 0; }

   private:
    std::string rest_;
  };
};

class FixedProgram : public platform::ProgramFacts {
 public:
  std::string CommandLine() override { return "Fernwick.exe"; }
  std::string InstallFolder() override { return "C:\\Tools\\Fernwick"; }
  platform::OwnVersion Version() override { return {2, 0, 4}; }
};

class AnsweringUi : public fakes::FakeUserInterface {
 public:
  int MessageBox(const std::string& text, const std::string& title, unsigned buttons) override {
    FakeUserInterface::MessageBox(text, title, buttons);
    return answer;
  }
  std::intptr_t RunShellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                                const std::string& directory, int showCommand) override {
    opened.push_back("[" + verb + "] " + file + " [" + parameters + "] " + directory + " " +
                     std::to_string(showCommand));
    return 42;
  }
  int answer = platform::kIdOk;
  std::vector<std::string> opened;
};

std::string ListWith(const std::string& cell) {
  // Spaces around the entry and a body longer than one read block.
  return std::string(1500, ' ') + "<row><cell>^/Applications/Voxtra/Other/Other.html^ifram_a</cell><cell>9.9.9</cell>" +
         "<row><cell>^/applications/voxtra/TORB/torb.html^IFRAM_A</cell><CELL>" + cell + "</cell></row>";
}

const std::string kUnable =
    "Unable to contact application home page to check for version.  You can access the home page and check for "
    "updated versions of all Norvane Voxtra tools by going to voxtratools.norvane.com";

struct UpdateWorld {
  FakeInternet internet;
  AnsweringUi ui;
  FixedProgram program;
  Session session;
  MessageBoxes boxes{ui, session};
  UpdateCheckServices Services() { return {internet, ui, program, boxes}; }
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const auto& box : ui.shown) texts.push_back(box.title + ": " + box.text);
    return texts;
  }
};

// A site whose body never ends, in blocks of blanks of the asked size.
class EndlessUrl : public platform::InternetUrl {
 public:
  std::optional<std::string> Read(std::size_t maxBytes) override {
    if (maxBytes != 1000) return std::nullopt;
    return std::string(maxBytes, ' ');
  }
  std::uint32_t LastError() const override { return 0; }
};

class EndlessInternet : public platform::Internet {
 public:
  std::unique_ptr<platform::InternetUrl> OpenUrl(const std::string&, std::uint32_t, const std::string&, std::uint32_t,
                                                 std::uint32_t&) override {
    return std::make_unique<EndlessUrl>();
  }
};

TEST(strDownloadText, ReadsInBlocksOfAThousandPastBlankBlocksAndStopsAnEndlessBody) {
  FakeInternet site;
  site.body = std::string(2500, ' ') + "<cell>";
  EXPECT_EQ(strDownloadText(site, "http://a/b", 0), *site.body);
  EndlessInternet endless;
  const std::string body = strDownloadText(endless, "http://a/b", 0);
  EXPECT_GE(body.size(), 16u * 1024 * 1024);
  EXPECT_LT(body.size(), 16u * 1024 * 1024 + 1000);
}

TEST(UpdateCheck, TheCutOfThirtyCharactersIsExactlySchemeAndHost) {
  EXPECT_EQ(kToolPageAddress.substr(0, kSitePrefixLength), "http://voxtratools.norvane.com");
  EXPECT_EQ(kDownloadListAddress.substr(0, kSitePrefixLength), "http://voxtratools.norvane.com");
}

TEST(UpdateCheck, EqualVersionSaysUpToDateAfterOneDownloadOfTheListWithTheSystemProxy) {
  UpdateWorld world;
  world.internet.body = ListWith("2.0.4</cell>");
  CheckForUpdatedVersion(world.Services());
  EXPECT_EQ(world.internet.requests,
            (std::vector<std::string>{
                "HTTP Generic 0 0 http://voxtratools.norvane.com/SiteList/AllDownloads/AllDownloads.XML"}));
  EXPECT_EQ(world.Shown(),
            (std::vector<std::string>{"Fernwick: You have the most up to date version of this tool installed"}));
}

TEST(UpdateCheck, NewerVersionOffersThePageAndOpensItOnOkOnly) {
  UpdateWorld world;
  world.internet.body = ListWith("2.0.10");
  world.ui.answer = platform::kIdCancel;
  CheckForUpdatedVersion(world.Services());
  ASSERT_EQ(world.ui.shown.size(), 1u);
  EXPECT_EQ(world.ui.shown[0].text,
            "An updated version of this tool is available on voxtratools.norvane.com.  Click OK to open the "
            "application home page now");
  EXPECT_EQ(world.ui.shown[0].title, "Updated version is available");
  EXPECT_EQ(world.ui.shown[0].buttons, platform::kMbOkCancel);
  EXPECT_TRUE(world.ui.opened.empty());

  world.ui.answer = platform::kIdOk;
  CheckForUpdatedVersion(world.Services());
  EXPECT_EQ(world.ui.opened, (std::vector<std::string>{"[] http://voxtratools.norvane.com/Applications/Voxtra/TORB/"
                                                       "TORB.html [] C:\\Tools\\Fernwick 1"}));
}

TEST(UpdateCheck, OlderPublishedVersionSaysUpToDate) {
  UpdateWorld world;
  world.internet.body = ListWith("1.9.99");
  CheckForUpdatedVersion(world.Services());
  EXPECT_EQ(world.Shown(),
            (std::vector<std::string>{"Fernwick: You have the most up to date version of this tool installed"}));
}

// The program goes on running in these cases, with the message that names the site.
TEST(UpdateCheck, UnreachableSiteMissingEntryOrLettersInTheCellSayUnableToContact) {
  const std::optional<std::string> bodies[] = {
      std::nullopt,
      std::string("short"),
      std::string("<row><cell>^/Applications/Voxtra/Other/Other.html^ifram_a</cell><cell>2.0.4</cell></row>"),
      ListWith("v2.0.10"),
      ListWith("2.0"),
  };
  for (const auto& body : bodies) {
    UpdateWorld world;
    world.internet.body = body;
    CheckForUpdatedVersion(world.Services());
    EXPECT_EQ(world.Shown(), (std::vector<std::string>{"Fernwick: " + kUnable})) << body.value_or("(unreachable)");
  }
}

TEST(UpdateCheck, ASecondTextOfTwoCharactersOrMoreLeadsTheEntryKey) {
  fakes::ProbeWorld world;
  const std::string list = "<cell>XY^/Applications/Voxtra/TORB/TORB.html^ifram_a<cell>3.1.0</cell>";
  EXPECT_EQ(PublishedVersionInList(list, kToolPageAddress, "XY", world.boxes), "0003.0001.0000");
  EXPECT_EQ(PublishedVersionInList(list, kToolPageAddress, "X", world.boxes), "0003.0001.0000");
  EXPECT_EQ(PublishedVersionInList(list, kToolPageAddress, "ZZ", world.boxes), "");
}

}  // namespace
}  // namespace fernwick::shell
