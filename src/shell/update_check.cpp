#include "shell/update_check.h"

#include <cctype>

#include "common/runtime_error.h"
#include "common/text.h"
#include "probes/procedure_trap.h"

namespace fernwick::shell {
namespace {

constexpr const char* kAgent = "HTTP Generic";
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL
constexpr std::size_t kReadBlock = 1000;
// The download list is a few kilobytes; a body that goes on beyond this is
// not the list, and reading on would hang the window.
constexpr std::size_t kMaxListBytes = 16 * 1024 * 1024;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string PadField(std::string_view field) {
  for (char c : field) {
    if (!IsDigit(c)) Raise(err::kTypeMismatch);
  }
  const auto firstSignificant = field.find_first_not_of('0');
  const std::string digits =
      firstSignificant == std::string_view::npos ? std::string() : std::string(field.substr(firstSignificant));
  return digits.size() >= 4 ? digits : std::string(4 - digits.size(), '0') + digits;
}

std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
  const std::string upperText = ToUpper(text);
  return upperText.find(ToUpper(needle), from);
}

std::string UnableToContactText() {
  return "Unable to contact application home page to check for version.  You can access the home page and check for "
         "updated versions of all Norvane Voxtra tools by going to " +
         std::string(kToolsSiteHost);
}

}  // namespace

std::string PadVersionString(std::string_view version, MessageBoxes& boxes) {
  if (version.size() < 4) return {};
  probes::ProcedureTrap trap(boxes, "(error):", " in procedure PadVersionString of Module modUpdateCheck");
  std::string padded;
  trap.Run([&] {
    if (version.find('.') == std::string_view::npos) Raise(err::kTypeMismatch);
    std::string result;
    std::size_t start = 0;
    while (true) {
      const auto dot = version.find('.', start);
      result += PadField(version.substr(start, dot == std::string_view::npos ? dot : dot - start)) + ".";
      if (dot == std::string_view::npos) break;
      start = dot + 1;
    }
    result.pop_back();
    padded = result;
  });
  return padded;
}

std::string strDownloadText(platform::Internet& internet, const std::string& url, std::uint32_t accessType) {
  std::uint32_t error = 0;
  const auto opened = internet.OpenUrl(kAgent, accessType, url, 0, error);
  if (!opened) return {};
  std::string body;
  while (body.size() < kMaxListBytes) {
    const auto block = opened->Read(kReadBlock);
    if (!block || block->empty()) break;
    body += *block;
  }
  return body;
}

std::string PublishedVersionInList(std::string_view list, std::string_view toolPageAddress, std::string_view secondText,
                                   MessageBoxes& boxes) {
  if (toolPageAddress.size() < kSitePrefixLength) return {};
  const std::string shortened(toolPageAddress.substr(kSitePrefixLength));
  const std::string key =
      secondText.size() >= 2 ? std::string(secondText) + "^" + shortened + "^ifram_a" : "^" + shortened + "^ifram_a";
  const auto keyAt = FindNoCase(list, key, 0);
  if (keyAt == std::string::npos) return {};
  const auto cellAt = FindNoCase(list, "<cell>", keyAt);
  if (cellAt == std::string::npos) return {};
  std::string version;
  for (std::size_t i = cellAt + 6; i < list.size() && (IsDigit(list[i]) || list[i] == '.'); ++i) version += list[i];
  return PadVersionString(version, boxes);
}

std::string strGetPublishedVersion(UpdateCheckServices services, std::string_view toolPageAddress,
                                   std::string_view secondText) {
  if (toolPageAddress.size() < kSitePrefixLength) return {};
  const std::string list =
      strDownloadText(services.internet, std::string(kDownloadListAddress), platform::kInternetOpenTypePreconfig);
  if (list.size() < 10) return {};
  return PublishedVersionInList(list, toolPageAddress, secondText, services.boxes);
}

void checkForUpdatedVersion_Foreground(UpdateCheckServices services, std::string_view toolPageAddress,
                                       std::string_view secondText) {
  probes::ProcedureTrap trap(services.boxes, "Error ",
                             " in procedure checkForUpdatedVersion_Foreground of Module modUpdateCheck");
  std::string published;
  std::string own;
  trap.Run([&] { published = strGetPublishedVersion(services, toolPageAddress, secondText); });
  trap.Run([&] {
    const auto version = services.program.Version();
    own = PadVersionString(
        std::to_string(version.major) + "." + std::to_string(version.minor) + "." + std::to_string(version.revision),
        services.boxes);
  });
  if (published.empty()) {
    services.boxes.Show(UnableToContactText());
    return;
  }
  if (own < published) {
    const int answer =
        services.ui.MessageBox("An updated version of this tool is available on " + std::string(kToolsSiteHost) +
                                   ".  Click OK to open the application home page now",
                               "Updated version is available", platform::kMbOkCancel);
    if (answer == platform::kIdOk) {
      // Shown normally: a browser started hidden would open the page where nobody sees it.
      services.ui.RunShellExecute("", std::string(toolPageAddress), "", services.program.InstallFolder(), kShowNormal);
    }
    return;
  }
  services.boxes.Show("You have the most up to date version of this tool installed");
}

void CheckForUpdatedVersion(UpdateCheckServices services) {
  services.ui.SetWaitPointer(true);
  checkForUpdatedVersion_Foreground(services, kToolPageAddress, "");
  services.ui.SetWaitPointer(false);
}

}  // namespace fernwick::shell
