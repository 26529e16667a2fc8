#pragma once
// modUpdateCheck: asks the tools web site which version of Fernwick it
// publishes and tells the user whether this copy is the newest.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/message_boxes.h"
#include "platform/internet.h"
#include "platform/program_facts.h"
#include "platform/user_interface.h"

namespace fernwick::shell {

// The tools web site. The entry key of the download list is the tool page
// address without its first 30 characters, which are exactly the scheme
// prefix and this host.
inline constexpr std::string_view kToolsSiteHost = "voxtratools.norvane.com";
inline constexpr std::string_view kToolPageAddress =
    "http://voxtratools.norvane.com/Applications/Voxtra/TORB/TORB.html";
inline constexpr std::string_view kDownloadListAddress =
    "http://voxtratools.norvane.com/SiteList/AllDownloads/AllDownloads.XML";
inline constexpr std::size_t kSitePrefixLength = 30;
static_assert(std::string_view("http://").size() + kToolsSiteHost.size() == kSitePrefixLength);
static_assert(kToolPageAddress.substr(7, kToolsSiteHost.size()) == kToolsSiteHost);

struct UpdateCheckServices {
  platform::Internet& internet;
  platform::UserInterface& ui;
  platform::ProgramFacts& program;
  MessageBoxes& boxes;
};

// Zero-fills every field of a dotted version to four digits, so that two
// padded versions compare as texts in numeric order: "2.0.4" gives
// "0002.0000.0004". Empty for fewer than 4 characters; a version without
// any "." or with a field that is not a number shows the error box and
// gives an empty text.
std::string PadVersionString(std::string_view version, MessageBoxes& boxes);

// The whole body at `url` as ANSI bytes; empty when nothing could be read.
std::string strDownloadText(platform::Internet& internet, const std::string& url, std::uint32_t accessType);

// The published version of the tool behind `toolPageAddress` in a download
// list, padded; empty when the list holds no readable version for it.
std::string PublishedVersionInList(std::string_view list, std::string_view toolPageAddress, std::string_view secondText,
                                   MessageBoxes& boxes);

// Downloads the list and finds the tool's padded version in it; empty when
// the site cannot be reached or the tool is not listed.
std::string strGetPublishedVersion(UpdateCheckServices services, std::string_view toolPageAddress,
                                   std::string_view secondText);

// Shows one of the outcome messages; on a newer version offers to open the
// tool page.
void checkForUpdatedVersion_Foreground(UpdateCheckServices services, std::string_view toolPageAddress,
                                       std::string_view secondText);

// The Help menu's "Check for updated version": the hourglass while it runs.
void CheckForUpdatedVersion(UpdateCheckServices services);

}  // namespace fernwick::shell
