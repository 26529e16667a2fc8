#include "platform/image/image_workstation.h"

#include <charconv>
#include <stdexcept>
#include <string>

#include "common/text.h"
#include "platform/image/not_captured.h"

namespace fernwick::image {
namespace {

constexpr std::string_view kSection = "workstation";
constexpr const char* kFacts102[] = {"ComputerName", "Domain", "VerMajor", "VerMinor"};

std::uint32_t NumberOr(const IniFile& facts, std::string_view key, std::uint32_t fallback) {
  std::optional<std::string> text = facts.Get(kSection, key);
  if (!text) return fallback;
  std::uint32_t value = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  if (text->empty() || error != std::errc() || stop != end) {
    throw std::runtime_error("[workstation] " + std::string(key) + ": not a number: " + *text);
  }
  return value;
}

std::string TextOr(const IniFile& facts, std::string_view key) {
  return facts.GetOr(kSection, key, "");
}

bool Flag(const IniFile& facts, std::string_view key) {
  const std::string text = TextOr(facts, key);
  return EqualsNoCase(text, "yes") || EqualsNoCase(text, "true") || text == "1";
}

}  // namespace

WorkstationFacts ReadWorkstationFacts(const IniFile& facts) {
  WorkstationFacts read;
  read.osPlatformId = NumberOr(facts, "OsPlatformId", platform::kVerPlatformWin32Nt);
  read.info102.platformId = NumberOr(facts, "PlatformId", 0);
  read.info102.computerName = TextOr(facts, "ComputerName");
  read.info102.langroup = TextOr(facts, "Domain");
  read.info102.verMajor = NumberOr(facts, "VerMajor", 0);
  read.info102.verMinor = NumberOr(facts, "VerMinor", 0);
  read.info102.lanRoot = TextOr(facts, "LanRoot");
  read.info102.loggedOnUsers = NumberOr(facts, "LoggedOnUsers", 0);
  read.info102Fails = Flag(facts, "WorkstationInfoFails");
  read.userInfo1.userName = TextOr(facts, "UserName");
  read.userInfo1.logonDomain = TextOr(facts, "LogonDomain");
  read.userInfo1.otherDomains = TextOr(facts, "OtherDomains");
  read.userInfo1.logonServer = TextOr(facts, "LogonServer");
  read.userInfo1Fails = Flag(facts, "UserInfoFails");
  if (const std::uint32_t code = NumberOr(facts, "WorkstationInfoError", 0); code != 0) {
    read.info102Fails = true;
    read.info102Error = code;
  }
  if (const std::uint32_t code = NumberOr(facts, "UserInfoError", 0); code != 0) {
    read.userInfo1Fails = true;
    read.userInfo1Error = code;
  }
  read.statesOs = facts.Get(kSection, "OsPlatformId").has_value();
  read.states102 =
      facts.Get(kSection, "PlatformId") || facts.Get(kSection, "WorkstationInfoError") || read.info102Fails;
  for (const char* key : kFacts102) {
    if (facts.Get(kSection, key)) {
      read.states102 = true;
    } else if (read.missing102.empty()) {
      read.missing102 = key;
    }
  }
  // UserInfoError=0: the call succeeded, and its texts were not kept.
  read.statesUser = facts.Get(kSection, "UserName") || facts.Get(kSection, "UserInfoError") || read.userInfo1Fails;
  return read;
}

ImageWorkstation::ImageWorkstation(WorkstationFacts facts) : facts_(std::move(facts)) {}

std::uint32_t ImageWorkstation::OsPlatformId() {
  if (facts_.strict && !facts_.statesOs) throw NotCaptured("workstation: operating system platform");
  return facts_.osPlatformId;
}

std::uint32_t ImageWorkstation::GetInfo102(platform::WkstaInfo102& info) {
  if (facts_.strict && !facts_.states102) throw NotCaptured("workstation: NetWkstaGetInfo level 102");
  if (facts_.info102Fails) return facts_.info102Error;
  if (facts_.strict && !facts_.missing102.empty()) throw NotCaptured("workstation: " + facts_.missing102);
  info = facts_.info102;
  return 0;
}

std::uint32_t ImageWorkstation::GetUserInfo1(platform::WkstaUserInfo1& info) {
  if (facts_.strict && !facts_.statesUser) throw NotCaptured("workstation: NetWkstaUserGetInfo level 1");
  if (facts_.userInfo1Fails) return facts_.userInfo1Error;
  info = facts_.userInfo1;
  return 0;
}

}  // namespace fernwick::image
