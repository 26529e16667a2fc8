#pragma once
// What a recording gathering read, question by question, with the answer
// each question got the first time it was asked. Keys of the maps are the
// questions upper-cased (Windows matches names without regard to case);
// each entry keeps the spelling of its first question.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/config_database.h"
#include "platform/file_system.h"
#include "platform/recording/captured_listing.h"
#include "platform/recording/xml_page_answers.h"
#include "platform/version_resources.h"
#include "platform/workstation.h"

namespace fernwick::recording {

struct CapturedValue {
  std::string name;
  long code = 0;  // RegQueryValueExA's answer; type and bytes when 0
  std::uint32_t type = 0;
  std::string bytes;
};

struct CapturedKey {
  std::string path;  // "HKEY_LOCAL_MACHINE\SOFTWARE\..."
  std::optional<long> openCode;
  std::map<std::string, CapturedValue> values;
  std::vector<std::string> subkeys;  // RegEnumKeyA's names by index
  bool subkeysComplete = false;      // the enumeration reached its end
};

struct CapturedPath {
  std::string path;  // the full Windows path
  std::optional<bool> isFile;
  std::optional<bool> isFolder;
  bool contentAsked = false;
  std::optional<std::string> content;  // nullopt: the read failed
  bool listed = false;                 // the folder's files and folders are all known
  bool subFoldersListed = false;       // its folders are all known
  // The names as listed, in order: the files and folders when listed, the
  // folders alone when only its folders are. A file the listing names has
  // no entry of its own until something else is asked of it.
  std::shared_ptr<const CapturedListing> names;
  bool dateAsked = false;
  std::optional<platform::LocalTime> date;
};

struct CapturedVersion {
  std::string path;
  std::optional<std::uint32_t> size;
  std::optional<bool> loaded;
  bool fixedAsked = false;
  std::optional<platform::FixedFileInfo> fixed;
  bool translationsAsked = false;
  std::vector<std::uint32_t> translations;
  std::map<std::string, std::pair<std::string, std::optional<std::string>>> strings;  // query -> (spelling, answer)
};

struct CapturedAnswer {
  std::optional<platform::RecordSet> records;  // else the error
  long errorNumber = 0;
  std::string errorText;
};

struct CapturedQuery {
  std::string connection;
  std::string sql;
  CapturedAnswer answer;
};

struct CapturedServer {
  std::string connection;
  std::optional<CapturedAnswer> openError;
  std::vector<CapturedQuery> executed;  // connection left empty
};

struct CapturedPage {
  std::string url;
  std::uint32_t openError = 0;  // the body when 0
  std::string body;
  std::uint32_t readError = 0;
  // When the gathering loaded the body as XML: what it asked of it, and
  // the smaller page a capture writes instead (xml_page_answers.h).
  bool xmlLoadAsked = false;
  std::vector<XmlAnswer> xmlAnswers;
  std::optional<std::string> keptBody;
};

struct CapturedWorkstation {
  std::optional<std::uint32_t> osPlatformId;
  std::optional<std::uint32_t> info102Code;
  platform::WkstaInfo102 info102;
  std::optional<std::uint32_t> userInfoCode;
  platform::WkstaUserInfo1 userInfo1;
};

struct Capture {
  std::map<std::string, CapturedKey> keys;
  std::map<std::string, CapturedPath> paths;
  std::map<std::string, std::optional<platform::DriveSpace>> drives;  // by upper-cased drive name
  std::map<std::string, std::string> driveNames;
  std::map<std::string, CapturedVersion> versions;
  std::map<std::uint32_t, std::string> languageNames;
  std::vector<CapturedQuery> queries;
  std::vector<CapturedServer> servers;
  std::vector<CapturedPage> pages;
  std::map<std::string, std::string> programOutputs;  // image file name -> output
  std::map<std::string, std::uint32_t> failedStarts;  // command line -> error
  // A batch file of the gathering whose wait did not answer "ended" (0):
  // command line -> the wait's answer; and those that could not be ended.
  std::map<std::string, std::uint32_t> waits;
  std::set<std::string> unended;
  std::optional<platform::LocalTime> now;
  std::optional<std::string> installFolder;
  // What followed the program's name on its command line: the run's switches.
  std::optional<std::string> switches;
  std::string currentFolder;
  std::string temporaryFolder;
  CapturedWorkstation workstation;
  std::optional<std::uint32_t> ansiCodePage;
};

}  // namespace fernwick::recording
