#include "report/finding_fixes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

#include "report/runtime_errors.h"

namespace fernwick::report {
namespace {

using enum FindingId;
using enum Severity;

enum class Release { Any, Windows2000, Server2003, Server2008, Server2008R2, Server2012, Server2012R2, Server2016 };

// Where a fix differs from the table's (which names every Windows): for
// one release (Any: every release, the unknown one too) and one kind of
// processor (0: either).
struct Variant {
  FindingId id;
  Release release;
  int bits;
  Severity severity;
  std::string_view fix;
};

constexpr std::string_view kBoot64 =
    "Nothing to set for the address space: 64-bit Windows gives each 32-bit Voxtra process 4 GB of address space "
    "without a boot switch (/3GB and /userva=2800 are for 32-bit Windows only). Check only that the DWORD "
    "LHFEnabled under HKLM\\SOFTWARE\\Tessaline is 1.";
constexpr std::string_view kBootSettings32 =
    "Windows Server 2008 does not read c:\\boot.ini; its boot settings are in the boot configuration store. In a "
    "command prompt started as administrator run bcdedit /set increaseuserva 2800, then restart the server. Check "
    "too that the DWORD LHFEnabled under HKLM\\SOFTWARE\\Tessaline is 1.";
constexpr std::string_view kBootSettings2008 =
    "Windows Server 2008 does not read c:\\boot.ini. On 32-bit Windows run bcdedit /set increaseuserva 2800 in a "
    "command prompt started as administrator and restart the server; 64-bit Windows needs no boot setting. Check "
    "too that the DWORD LHFEnabled under HKLM\\SOFTWARE\\Tessaline is 1.";
constexpr std::string_view kThreeGb2003x86 =
    "Add /3GB to the boot entry of c:\\boot.ini (bootcfg /raw \"/3GB\" /A /ID 1) and restart the server.";
constexpr std::string_view kThreeGb2003 =
    "Add /3GB to the boot entry of c:\\boot.ini (bootcfg /raw \"/3GB\" /A /ID 1) and restart the server. On "
    "Windows Server 2003 x64 nothing is to set: 64-bit Windows gives each 32-bit Voxtra process 4 GB without a boot "
    "switch.";
constexpr std::string_view kUserva2003x86 =
    "Add /userva=2800 to the boot entry of c:\\boot.ini (bootcfg /raw \"/userva=2800\" /A /ID 1) and restart the "
    "server.";
constexpr std::string_view kUserva2003 =
    "Add /userva=2800 to the boot entry of c:\\boot.ini (bootcfg /raw \"/userva=2800\" /A /ID 1) and restart the "
    "server. On Windows Server 2003 x64 nothing is to set: 64-bit Windows gives each 32-bit Voxtra process 4 GB "
    "without a boot switch.";
constexpr std::string_view kBootIni2003x86 =
    "Make sure the boot entry in c:\\boot.ini holds /3GB and /userva=2800, and that the DWORD LHFEnabled under "
    "HKLM\\SOFTWARE\\Tessaline is 1; restart the server.";
constexpr std::string_view kBootIni2003 =
    "Make sure the boot entry in c:\\boot.ini holds /3GB and /userva=2800 (on Windows Server 2003 x64 neither is "
    "needed), and that the DWORD LHFEnabled under HKLM\\SOFTWARE\\Tessaline is 1; restart the server.";
constexpr std::string_view kThreeGb2000 =
    "Windows 2000 has no bootcfg: in System Properties, Advanced, Startup and Recovery press Edit (or edit "
    "c:\\boot.ini after clearing its read-only attribute), add /3GB at the end of the boot entry under "
    "[operating systems], save, and restart the server. Windows 2000 honours /3GB on Advanced Server and "
    "Datacenter Server only.";
constexpr std::string_view kUserva2000 =
    "Nothing to set for this line: Windows 2000 does not know /userva (it came with Windows Server 2003); there /3GB "
    "alone sets the address space (PORTS-3GB-MISSING).";
constexpr std::string_view kBootIni2000 =
    "c:\\boot.ini is missing, so the boot switches were not checked; the boot entry may be in the boot.ini of the "
    "system partition on another drive. Make sure that entry ends with /3GB (Windows 2000 has no bootcfg and does "
    "not know /userva: edit the file in System Properties, Advanced, Startup and Recovery, Edit), check that the "
    "DWORD LHFEnabled under HKLM\\SOFTWARE\\Tessaline is 1, and restart the server.";
constexpr std::string_view kChimney2003 =
    "Run netsh int ip set chimney DISABLED (Windows Server 2003 SP2), or set the DWORD EnableTCPChimney to 0 under "
    "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters, and restart the server.";
constexpr std::string_view kChimney2008 =
    "Windows Server 2008 and later do not keep this setting in EnableTCPChimney, the value the line reports, so the "
    "report cannot tell whether chimney offload is on (it is off unless turned on, and works only where the network "
    "adapter's advanced properties allow it too). In a command prompt run netsh int tcp show global; if Chimney "
    "Offload State is enabled, run netsh int tcp set global chimney=disabled as administrator (it takes effect at "
    "once).";
constexpr std::string_view kRss2003 =
    "Set the DWORD EnableRSS to 0 under HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters and restart "
    "the server (Windows Server 2003 has no netsh command for it).";
constexpr std::string_view kRss2008 =
    "Run netsh int tcp set global rss=disabled in a command prompt started as administrator; it takes effect at "
    "once.";
constexpr std::string_view kNoOffload2000 =
    "Nothing to do: Windows 2000 has neither TCP chimney offload nor receive-side scaling (they came with the "
    "Scalable Networking Pack for Windows Server 2003), so the value the line reports has no effect.";

// A boot setting the server cannot have is no warning by itself from 2008
// on, nor on 64-bit Windows: only the heap setting is left to check. On
// 2008 and later the report's offload value is not the setting Windows
// uses: whether chimney offload is on is not in the report.
constexpr std::array kVariants = {
    Variant{PortsBootIniNotFound, Release::Any, 64, Notice, kBoot64},
    Variant{PortsBootIniNotFound, Release::Windows2000, 0, Warning, kBootIni2000},
    Variant{PortsBootIniNotFound, Release::Server2003, 32, Warning, kBootIni2003x86},
    Variant{PortsBootIniNotFound, Release::Server2003, 0, Warning, kBootIni2003},
    Variant{PortsBootIniNotFound, Release::Server2008, 32, Notice, kBootSettings32},
    Variant{PortsBootIniNotFound, Release::Server2008, 0, Notice, kBootSettings2008},
    Variant{Ports3GbMissing, Release::Any, 64, Notice, kBoot64},
    Variant{Ports3GbMissing, Release::Windows2000, 0, Warning, kThreeGb2000},
    Variant{Ports3GbMissing, Release::Server2003, 32, Warning, kThreeGb2003x86},
    Variant{Ports3GbMissing, Release::Server2003, 0, Warning, kThreeGb2003},
    Variant{Ports3GbMissing, Release::Server2008, 32, Notice, kBootSettings32},
    Variant{Ports3GbMissing, Release::Server2008, 0, Notice, kBootSettings2008},
    Variant{PortsUservaMissing, Release::Any, 64, Notice, kBoot64},
    Variant{PortsUservaMissing, Release::Windows2000, 0, Notice, kUserva2000},
    Variant{PortsUservaMissing, Release::Server2003, 32, Warning, kUserva2003x86},
    Variant{PortsUservaMissing, Release::Server2003, 0, Warning, kUserva2003},
    Variant{PortsUservaMissing, Release::Server2008, 32, Notice, kBootSettings32},
    Variant{PortsUservaMissing, Release::Server2008, 0, Notice, kBootSettings2008},
    Variant{TcpChimneyEnabled, Release::Windows2000, 0, Notice, kNoOffload2000},
    Variant{TcpChimneyEnabled, Release::Server2003, 0, Warning, kChimney2003},
    Variant{TcpChimneyEnabled, Release::Server2008, 0, Notice, kChimney2008},
    Variant{TcpChimneyEnabled, Release::Server2008R2, 0, Notice, kChimney2008},
    Variant{TcpChimneyUnknown, Release::Windows2000, 0, Notice, kNoOffload2000},
    Variant{TcpChimneyUnknown, Release::Server2003, 0, Notice, kChimney2003},
    Variant{TcpChimneyUnknown, Release::Server2008, 0, Notice, kChimney2008},
    Variant{TcpChimneyUnknown, Release::Server2008R2, 0, Notice, kChimney2008},
    Variant{RssEnabled, Release::Windows2000, 0, Notice, kNoOffload2000},
    Variant{RssEnabled, Release::Server2003, 0, Warning, kRss2003},
    Variant{RssEnabled, Release::Server2008, 0, Warning, kRss2008},
    Variant{RssEnabled, Release::Server2008R2, 0, Warning, kRss2008},
    Variant{RssUnknown, Release::Windows2000, 0, Notice, kNoOffload2000},
    Variant{RssUnknown, Release::Server2003, 0, Notice, kRss2003},
    Variant{RssUnknown, Release::Server2008, 0, Notice, kRss2008},
    Variant{RssUnknown, Release::Server2008R2, 0, Notice, kRss2008},
};

std::optional<Release> ReleaseOf(const WindowsFacts& windows) {
  if (windows.major == 5 && windows.minor == 0) return Release::Windows2000;
  if (windows.major == 5 && windows.minor == 2) return Release::Server2003;
  if (windows.major == 6 && windows.minor == 0) return Release::Server2008;
  if (windows.major == 6 && windows.minor == 1) return Release::Server2008R2;
  if (windows.major == 6 && windows.minor == 2) return Release::Server2012;
  if (windows.major == 6 && windows.minor == 3) return Release::Server2012R2;
  if (windows.major >= 10) return Release::Server2016;
  return std::nullopt;
}

// 2012 and later keep the network settings as 2008 R2 does.
Release FixRelease(Release release) {
  return release == Release::Server2012 || release == Release::Server2012R2 || release == Release::Server2016
             ? Release::Server2008R2
             : release;
}

std::string_view ReleaseName(Release release) {
  switch (release) {
    case Release::Any: return "64-bit Windows (any version)";
    case Release::Windows2000: return "Windows 2000";
    case Release::Server2003: return "Windows Server 2003";
    case Release::Server2008: return "Windows Server 2008";
    case Release::Server2008R2: return "Windows Server 2008 R2";
    case Release::Server2012: return "Windows Server 2012";
    case Release::Server2012R2: return "Windows Server 2012 R2";
    case Release::Server2016: return "Windows Server 2016 or later";
  }
  return {};
}

const Variant* VariantFor(FindingId id, const WindowsFacts& windows) {
  const auto release = ReleaseOf(windows);
  const int bits = BitsOf(windows);
  const Variant* either = nullptr;
  const Variant* anyRelease = nullptr;
  for (const Variant& variant : kVariants) {
    if (variant.id != id) continue;
    if (variant.release == Release::Any) {
      if (bits != 0 && variant.bits == bits) anyRelease = &variant;
      continue;
    }
    if (!release || variant.release != FixRelease(*release)) continue;
    if (variant.bits == bits && bits != 0) return &variant;
    if (variant.bits == 0) either = &variant;
  }
  return anyRelease != nullptr ? anyRelease : either;
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

constexpr std::string_view kApplicationsKey = "HKLM\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\Applications";
constexpr std::string_view kRestart = ", then restart the Voxtra services.";

using Named = std::vector<std::pair<std::string, std::string>>;  // process, value

// "A", "A and B", "A, B and C"; each item as `item` words it.
template <typename Item>
std::string Listed(const Named& named, Item item) {
  std::string list;
  for (std::size_t i = 0; i < named.size(); ++i) {
    if (i > 0) list += i + 1 == named.size() ? " and " : ", ";
    list += item(named[i]);
  }
  return list;
}

// The shared-memory fixes, naming the processes of the lines (and the
// values they have).
std::string SharedMemoryFix(FindingId id, const Named& named) {
  const std::string key(kApplicationsKey);
  const bool one = named.size() == 1;
  const auto process = [](const auto& n) { return n.first; };
  const auto withValue = [](const auto& n) { return n.first + " (now " + n.second + ")"; };
  const auto leftAt = [](const auto& n) { return n.first + " (" + n.second + ")"; };
  const std::string& p = named.front().first;
  const std::string& v = named.front().second;
  switch (id) {
    case SharedMemKeyMissing:
      return one ? "Add the key " + key + "\\" + p + " with the DWORD SharedMemMaxSize = 4194304 (decimal)" +
                       std::string(kRestart)
                 : "Under " + key + " add the keys " + Listed(named, process) +
                       ", each with the DWORD SharedMemMaxSize = 4194304 (decimal)" + std::string(kRestart);
    case SharedMemValueMissing:
      return one ? "Add the DWORD SharedMemMaxSize = 4194304 (decimal) to the key " + key + "\\" + p +
                       std::string(kRestart)
                 : "Add the DWORD SharedMemMaxSize = 4194304 (decimal) to the keys " + Listed(named, process) +
                       " under " + key + std::string(kRestart);
    case SharedMemNotRecommended:
      return one ? "Raise the DWORD SharedMemMaxSize under " + key + "\\" + p + " from " + v + " to 4194304 (decimal)" +
                       std::string(kRestart)
                 : "Under " + key + " raise the DWORD SharedMemMaxSize of " + Listed(named, withValue) +
                       " to 4194304 (decimal)" + std::string(kRestart);
    case SharedMemAboveRecommended:
      return one ? "Nothing to do unless technical support asks for the recommended value; leave SharedMemMaxSize of " +
                       p + " at " + v + "."
                 : "Nothing to do unless technical support asks for the recommended value; leave SharedMemMaxSize "
                   "as it is for " +
                       Listed(named, leftAt) + ".";
    default: return {};
  }
}

bool NamesProcesses(FindingId id) {
  return id == SharedMemKeyMissing || id == SharedMemValueMissing || id == SharedMemNotRecommended ||
         id == SharedMemAboveRecommended;
}

}  // namespace

int BitsOf(const WindowsFacts& windows) {
  const auto release = ReleaseOf(windows);
  if (release == Release::Windows2000) return 32;
  if (release && FixRelease(*release) == Release::Server2008R2) return 64;  // for 64-bit processors only
  return windows.bits;
}

std::string WindowsName(const WindowsFacts& windows) {
  const auto release = ReleaseOf(windows);
  const int bits = BitsOf(windows);
  if (!release) return bits == 64 ? "64-bit Windows" : "";
  return std::string(ReleaseName(*release)) + (bits == 64 ? " (64-bit)" : bits == 32 ? " (32-bit)" : "");
}

FindingForServer ForServer(const FindingInfo& info, const WindowsFacts& windows) {
  const Variant* variant = VariantFor(info.id, windows);
  const int bits = BitsOf(windows);
  // Keys in the meaning are named as the 64-bit regedit shows them where the
  // server is 64-bit; the fix says where they may be when that is unknown.
  const std::string meaning = bits == 64 ? InRegistryView(info.meaning, bits) : std::string(info.meaning);
  if (variant == nullptr) return {info.severity, meaning, InRegistryView(info.fix, bits)};
  return {variant->severity, meaning, InRegistryView(variant->fix, bits)};
}

FindingForServer ForLines(const FindingInfo& info, const WindowsFacts& windows,
                          const std::vector<const Finding*>& lines) {
  FindingForServer here = ForServer(info, windows);
  if (lines.empty()) return here;
  const int bits = BitsOf(windows);
  if (info.id == RuntimeError || info.id == SqlServerUnreachable) {
    if (const auto error = ReadRuntimeErrorLine(lines.front()->evidence)) {
      const RuntimeErrorInfo& entry = RuntimeErrorFor(*error);
      if (info.id == RuntimeError) here.meaning = entry.meaning;
      here.fix = InRegistryView(entry.fix, bits);
    }
    return here;
  }
  if (NamesProcesses(info.id)) {
    Named named;
    for (const Finding* line : lines) {
      if (line->process.empty()) return here;
      const std::pair<std::string, std::string> n{line->process, line->value};
      if (std::find(named.begin(), named.end(), n) == named.end()) named.push_back(n);
    }
    here.fix = InRegistryView(SharedMemoryFix(info.id, named), bits);
  }
  return here;
}

std::vector<FixVariant> WindowsVariants(const FindingInfo& info) {
  std::vector<FixVariant> variants;
  const auto has = [&](Release release, int bits) {
    return std::any_of(kVariants.begin(), kVariants.end(),
                       [&](const Variant& v) { return v.id == info.id && v.release == release && v.bits == bits; });
  };
  for (const Variant& variant : kVariants) {
    if (variant.id != info.id) continue;
    // The fix for either processor repeats the 32-bit one and the one for any 64-bit Windows.
    if (variant.bits == 0 && has(variant.release, 32) && has(Release::Any, 64)) continue;
    std::string_view windows = ReleaseName(variant.release);
    if (variant.release == Release::Server2003 && variant.bits == 32) windows = "Windows Server 2003 (32-bit)";
    if (variant.release == Release::Server2008 && variant.bits == 32) windows = "Windows Server 2008 (32-bit)";
    if (variant.release == Release::Server2008R2) windows = "Windows Server 2008 R2 and later";
    const int bits = variant.release == Release::Server2008R2  ? 64
                     : variant.release == Release::Windows2000 ? 32
                                                               : variant.bits;
    variants.push_back({windows, variant.severity, InRegistryView(variant.fix, bits)});
  }
  return variants;
}

}  // namespace fernwick::report
