#include "report/finding_fixes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

namespace fernwick::report {
namespace {

using enum FindingId;
using enum Severity;

enum class Release { Server2003, Server2008, Server2008R2 };

// Where a fix differs from the table's (which names every Windows).
struct Variant {
  FindingId id;
  Release release;
  int bits;  // 0: either
  Severity severity;
  std::string_view fix;
};

constexpr std::string_view kBootSettings32 =
    "Windows Server 2008 does not read c:\\boot.ini; its boot settings are in the boot configuration store. In a "
    "command prompt started as administrator run bcdedit /set increaseuserva 2800, then restart the server. Check "
    "too that the DWORD LHFEnabled under HKLM\\SOFTWARE\\Tessaline is 1.";
constexpr std::string_view kBootSettings64 =
    "Nothing to set for the address space: 64-bit Windows has no boot.ini and gives each 32-bit Voxtra process "
    "4 GB without a boot switch. Check only that the DWORD LHFEnabled under HKLM\\SOFTWARE\\Tessaline is 1.";
constexpr std::string_view kBootSettings2008 =
    "Windows Server 2008 does not read c:\\boot.ini. On 32-bit Windows run bcdedit /set increaseuserva 2800 in a "
    "command prompt started as administrator and restart the server; 64-bit Windows needs no boot setting. Check "
    "too that the DWORD LHFEnabled under HKLM\\SOFTWARE\\Tessaline is 1.";
constexpr std::string_view kThreeGb2003 =
    "Add /3GB to the boot entry of c:\\boot.ini (bootcfg /raw \"/3GB\" /A /ID 1) and restart the server.";
constexpr std::string_view kUserva2003 =
    "Add /userva=2800 to the boot entry of c:\\boot.ini (bootcfg /raw \"/userva=2800\" /A /ID 1) and restart the "
    "server.";
constexpr std::string_view kBootIni2003 =
    "Make sure the boot entry in c:\\boot.ini holds /3GB and /userva=2800, and that the DWORD LHFEnabled under "
    "HKLM\\SOFTWARE\\Tessaline is 1; restart the server.";
constexpr std::string_view kChimney2003 =
    "Run netsh int ip set chimney DISABLED (Windows Server 2003 SP2), or set the DWORD EnableTCPChimney to 0 under "
    "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters, and restart the server.";
constexpr std::string_view kChimney2008 =
    "Run netsh int tcp set global chimney=disabled in a command prompt started as administrator; it takes effect at "
    "once (Windows Server 2008 and later keep this setting outside EnableTCPChimney).";
constexpr std::string_view kRss2003 =
    "Set the DWORD EnableRSS to 0 under HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters and restart "
    "the server (Windows Server 2003 has no netsh command for it).";
constexpr std::string_view kRss2008 =
    "Run netsh int tcp set global rss=disabled in a command prompt started as administrator; it takes effect at "
    "once.";

// A boot setting the server cannot have is no warning by itself on 2008:
// only the heap setting is left to check, and boot.ini is not its place.
constexpr std::array kVariants = {
    Variant{PortsBootIniNotFound, Release::Server2003, 0, Warning, kBootIni2003},
    Variant{PortsBootIniNotFound, Release::Server2008, 32, Notice, kBootSettings32},
    Variant{PortsBootIniNotFound, Release::Server2008, 64, Notice, kBootSettings64},
    Variant{PortsBootIniNotFound, Release::Server2008, 0, Notice, kBootSettings2008},
    Variant{PortsBootIniNotFound, Release::Server2008R2, 0, Notice, kBootSettings64},
    Variant{Ports3GbMissing, Release::Server2003, 0, Warning, kThreeGb2003},
    Variant{Ports3GbMissing, Release::Server2008, 32, Notice, kBootSettings32},
    Variant{Ports3GbMissing, Release::Server2008, 64, Notice, kBootSettings64},
    Variant{Ports3GbMissing, Release::Server2008, 0, Notice, kBootSettings2008},
    Variant{Ports3GbMissing, Release::Server2008R2, 0, Notice, kBootSettings64},
    Variant{PortsUservaMissing, Release::Server2003, 0, Warning, kUserva2003},
    Variant{PortsUservaMissing, Release::Server2008, 32, Notice, kBootSettings32},
    Variant{PortsUservaMissing, Release::Server2008, 64, Notice, kBootSettings64},
    Variant{PortsUservaMissing, Release::Server2008, 0, Notice, kBootSettings2008},
    Variant{PortsUservaMissing, Release::Server2008R2, 0, Notice, kBootSettings64},
    Variant{TcpChimneyEnabled, Release::Server2003, 0, Warning, kChimney2003},
    Variant{TcpChimneyEnabled, Release::Server2008, 0, Warning, kChimney2008},
    Variant{TcpChimneyEnabled, Release::Server2008R2, 0, Warning, kChimney2008},
    Variant{TcpChimneyUnknown, Release::Server2003, 0, Notice, kChimney2003},
    Variant{TcpChimneyUnknown, Release::Server2008, 0, Notice, kChimney2008},
    Variant{TcpChimneyUnknown, Release::Server2008R2, 0, Notice, kChimney2008},
    Variant{RssEnabled, Release::Server2003, 0, Warning, kRss2003},
    Variant{RssEnabled, Release::Server2008, 0, Warning, kRss2008},
    Variant{RssEnabled, Release::Server2008R2, 0, Warning, kRss2008},
    Variant{RssUnknown, Release::Server2003, 0, Notice, kRss2003},
    Variant{RssUnknown, Release::Server2008, 0, Notice, kRss2008},
    Variant{RssUnknown, Release::Server2008R2, 0, Notice, kRss2008},
};

std::optional<Release> ReleaseOf(const WindowsFacts& windows) {
  if (windows.major == 5 && windows.minor == 2) return Release::Server2003;
  if (windows.major == 6 && windows.minor == 0) return Release::Server2008;
  if (windows.major == 6 && windows.minor == 1) return Release::Server2008R2;
  return std::nullopt;
}

std::string_view ReleaseName(Release release) {
  switch (release) {
    case Release::Server2003: return "Windows Server 2003";
    case Release::Server2008: return "Windows Server 2008";
    case Release::Server2008R2: return "Windows Server 2008 R2";
  }
  return {};
}

// Windows Server 2008 R2 exists for 64-bit processors only.
int BitsOf(const WindowsFacts& windows) {
  return ReleaseOf(windows) == Release::Server2008R2 ? 64 : windows.bits;
}

const Variant* VariantFor(FindingId id, const WindowsFacts& windows) {
  const auto release = ReleaseOf(windows);
  if (!release) return nullptr;
  const int bits = BitsOf(windows);
  const Variant* either = nullptr;
  for (const Variant& variant : kVariants) {
    if (variant.id != id || variant.release != *release) continue;
    if (variant.bits == bits && bits != 0) return &variant;
    if (variant.bits == 0) either = &variant;
  }
  return either;
}

constexpr std::string_view kSoftwareKey = "HKLM\\SOFTWARE\\";
constexpr std::string_view kRedirectedKey = "HKLM\\SOFTWARE\\Wow6432Node\\";

// The key below HKLM\SOFTWARE that `path` starts with; names with blanks
// and commas are known by name.
std::string TopKey(std::string_view path) {
  for (std::string_view known : {"Norvane Systems, Inc.", "Windows Messaging Subsystem"}) {
    if (path.starts_with(known)) return std::string(known);
  }
  std::size_t end = 0;
  while (end < path.size() && path[end] != '\\' && path[end] != ' ' && path[end] != ',' && path[end] != ')' &&
         path[end] != ';' && !(path[end] == '.' && (end + 1 == path.size() || path[end + 1] == ' '))) {
    ++end;
  }
  return std::string(path.substr(0, end));
}

// A 32-bit program on 64-bit Windows reads HKLM\SOFTWARE in its own view,
// which the 64-bit regedit (the one the Start menu opens) shows under
// Wow6432Node: keys are named where the reader will find them.
std::string InRegistryView(std::string_view text, int bits) {
  if (bits == 32 || text.find(kSoftwareKey) == std::string_view::npos) return std::string(text);
  if (bits == 64) {
    std::string out;
    for (std::size_t at = 0;;) {
      const std::size_t key = text.find(kSoftwareKey, at);
      out += text.substr(at, key == std::string_view::npos ? std::string_view::npos : key - at);
      if (key == std::string_view::npos) return out;
      out += kRedirectedKey;
      at = key + kSoftwareKey.size();
    }
  }
  // Unknown: each top key once, as the 64-bit regedit would show it.
  std::set<std::string> tops;
  std::string note;
  for (std::size_t key = text.find(kSoftwareKey); key != std::string_view::npos;
       key = text.find(kSoftwareKey, key + 1)) {
    const std::string top = TopKey(text.substr(key + kSoftwareKey.size()));
    if (top.empty() || !tops.insert(top).second) continue;
    note += std::string(note.empty() ? "" : ", ") + std::string(kSoftwareKey) + top + " as " +
            std::string(kRedirectedKey) + top;
  }
  return std::string(text) + " On 64-bit Windows the 64-bit regedit shows " + note + ".";
}

}  // namespace

std::string WindowsName(const WindowsFacts& windows) {
  const auto release = ReleaseOf(windows);
  if (!release) return {};
  const int bits = BitsOf(windows);
  return std::string(ReleaseName(*release)) + (bits == 64 ? " (64-bit)" : bits == 32 ? " (32-bit)" : "");
}

FindingForServer ForServer(const FindingInfo& info, const WindowsFacts& windows) {
  const Variant* variant = VariantFor(info.id, windows);
  const int bits = ReleaseOf(windows) ? BitsOf(windows) : windows.bits;
  if (variant == nullptr) return {info.severity, InRegistryView(info.fix, bits)};
  return {variant->severity, InRegistryView(variant->fix, bits)};
}

std::string FixNaming(std::string_view fix, const std::vector<std::pair<std::string, std::string>>& named) {
  const auto replace = [](std::string text, std::string_view placeholder, const std::string& with) {
    for (auto at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + with.size())) {
      text.replace(at, placeholder.size(), with);
    }
    return text;
  };
  std::string out(fix);
  const bool namesProcess = out.find("<process>") != std::string::npos;
  const bool namesValue = out.find("<value>") != std::string::npos;
  if (named.empty() || (!namesProcess && !namesValue)) return out;
  const bool same = std::all_of(named.begin(), named.end(), [&](const auto& n) { return n == named.front(); });
  if (same) return replace(replace(out, "<process>", named.front().first), "<value>", named.front().second);
  std::string list;
  for (const auto& [process, value] : named) {
    if (!list.empty()) list += ", ";
    list += namesProcess ? process : value;
    if (namesProcess && namesValue) list += " (" + value + ")";
  }
  return out + " For each " + (namesProcess ? std::string("<process>") : std::string("<value>")) +
         (namesProcess && namesValue ? " (<value>)" : "") + ": " + list + ".";
}

std::vector<FixVariant> WindowsVariants(const FindingInfo& info) {
  std::vector<FixVariant> variants;
  for (const Variant& variant : kVariants) {
    if (variant.id != info.id) continue;
    const bool r2 = variant.release == Release::Server2008R2;
    std::string_view windows = ReleaseName(variant.release);
    if (!r2 && variant.bits == 32) windows = "Windows Server 2008 (32-bit)";
    if (!r2 && variant.bits == 64) windows = "Windows Server 2008 (64-bit)";
    if (variant.release == Release::Server2008 && variant.bits == 0 &&
        (info.id == PortsBootIniNotFound || info.id == Ports3GbMissing || info.id == PortsUservaMissing)) {
      continue;  // the two above say it for each kind of processor
    }
    variants.push_back({windows, variant.severity, InRegistryView(variant.fix, r2 ? 64 : variant.bits)});
  }
  return variants;
}

}  // namespace fernwick::report
