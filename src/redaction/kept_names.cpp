#include "redaction/kept_names.h"

#include <iterator>
#include <string>

#include "redaction/redaction_map.h"

namespace fernwick::redaction {
namespace {

constexpr std::string_view kKept[] = {
    // Well-known accounts and groups.
    "localsystem",
    "localservice",
    "networkservice",
    "local service",
    "network service",
    "system",
    "administrator",
    "administrators",
    "guest",
    "everyone",
    "users",
    "public",
    "default user",
    "all users",
    "nt authority",
    "builtin",
    "workgroup",
    "localhost",
    "sa",
    // Product and platform names.
    "voxtra",
    "fernwick",
    "tabulex",
    "norvane",
    "tessaline",
    "microsoft",
    "windows",
    "exchange",
    "domino",
    "lotus",
    "notes",
    "outlook",
    "mapi",
    "cdo",
    "sql",
    "sqlexpress",
    "mssqlserver",
    "server",
    "active directory",
    "stringfileinfo",
    "varfileinfo",
    // The call handlers every installation has.
    "opening greeting",
    "operator",
    "goodbye",
    "example interview",
    // What stands where a name is missing.
    "n/a",
    "na",
    "none",
    "unknown",
    "default",
    "local",
    "null",
    "-not installed-",
    "not installed",
    "disabled",
    "enabled",
    "true",
    "false",
    "yes",
    "no",
    "invalid",
};

// The parts of the registry paths Fernwick opens, and their words.
constexpr std::string_view kRegistryWords[] = {
    "software",
    "system",
    "hkey_local_machine",
    "hkey_classes_root",
    "hkey_current_user",
    "hkey_users",
    "applications",
    "arbiter",
    "cde",
    "clients",
    "commserver",
    "conversations",
    "currentcontrolset",
    "currentversion",
    "directory",
    "directory connectors",
    "connectors",
    "dirsynchad",
    "dirsynchdomino",
    "dirsynchex55",
    "dirsynchglobalcatalog",
    "doh",
    "domains",
    "engineering specials",
    "engineering",
    "specials",
    "exchangemapi",
    "hardware",
    "initialization",
    "integrations",
    "mail",
    "mail servers",
    "servers",
    "malex",
    "miu",
    "monitored servers",
    "monitored",
    "norvane systems",
    "norvane systems, inc.",
    "norvane voxtra",
    "systems",
    "inc",
    "notesproxy",
    "office",
    "os update",
    "update",
    "parameters",
    "permissionswizard",
    "port configuration",
    "port",
    "configuration",
    "services",
    "setup",
    "system info",
    "info",
    "systemparameters",
    "tcpip",
    "tlcsnodemgr",
    "tllogmgr",
    "tlwm",
    "tts",
    "voxtra-wda policy",
    "wda",
    "policy",
    "voxtraqmr",
    "wdagent",
    "windows messaging subsystem",
    "messaging",
    "subsystem",
    "windows nt",
    "nt",
    "os",
    "controlset001",
    "control",
    "wow6432node",
    "classes",
    "policies",
    "uninstall",
    "eventlog",
    "application",
    "security",
    "interfaces",
    "profiles",
    "messaging subsystem",
};

// The keywords of the server image's own files (answers.txt, image.ini).
constexpr std::string_view kImageWords[] = {
    "key",           "value",        "subkeys",      "complete",     "partial",
    "nofile",        "nofolder",     "content",      "unreadable",   "listing",
    "samelisting",   "subfolders",   "listed",       "order",        "files",
    "folders",       "nodate",       "drive",        "nodrive",      "language",
    "query",         "page",         "pageread",     "start",        "wait",
    "unended",       "columns",      "size",         "translations", "ipconfig",
    "capture",       "clock",        "program",      "workstation",  "drives",
    "file dates",    "recordedby",   "ansicodepage", "computername", "currentfolder",
    "installfolder", "osplatformid", "tempfolder",   "usererror",    "workstationinfoerror",
    "userinfoerror", "registry",     "programs",     "pages",        "eventlogs",
    "database",
};

// Product, platform and service names.
constexpr std::string_view kProductWords[] = {
    "sqlserveragent",
    "mssqlserver",
    "sqlbrowser",
    "sqlwriter",
    "msdtc",
    "iis",
    "w3svc",
    "smtp",
    "http",
    "https",
    "tcp",
    "udp",
    "sip",
    "dns",
    "dhcp",
    "wins",
    "netbios",
    "ldap",
    "voxtra messaging",
    "tessaline",
};

// Words of the report's own text, never a name of the site.
constexpr std::string_view kReportWords[] = {
    "the",    "and",     "or",    "of",      "to",        "in",      "on",      "is",   "for",   "at",
    "by",     "a",       "an",    "not",     "no",        "version", "name",    "path", "error", "warning",
    "value",  "build",   "date",  "time",    "file",      "service", "status",  "type", "user",  "host",
    "domain", "address", "found", "missing", "installed", "running", "stopped",
};

bool In(std::string_view lower, const std::string_view* words, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (lower == words[i]) return true;
  }
  return false;
}

}  // namespace

std::string_view ProtectedReason(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower.rfind("nt service\\", 0) == 0 || lower.rfind("nt authority\\", 0) == 0 || lower == "nt service") {
    return "a well-known account";
  }
  bool letter = false;
  for (char c : lower)
    letter = letter || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || static_cast<unsigned char>(c) >= 0x80;
  if (!letter) {
    return "no letter or digit";
  }
  if (In(lower, kReportWords, std::size(kReportWords))) return "a word of the report's own text";
  if (In(lower, kRegistryWords, std::size(kRegistryWords))) return "a word of the registry paths Fernwick reads";
  if (In(lower, kImageWords, std::size(kImageWords))) return "a keyword of the server image's files";
  if (In(lower, kProductWords, std::size(kProductWords)) || In(lower, kKept, std::size(kKept))) {
    return "a product, Windows or well-known account name";
  }
  return {};
}

bool IsKeptName(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower.empty()) return true;
  if (lower.rfind("nt authority\\", 0) == 0 || lower.rfind("builtin\\", 0) == 0 ||
      lower.rfind("nt service\\", 0) == 0) {
    return true;
  }
  for (const auto kept : kKept) {
    if (lower == kept) return true;
  }
  // A bare number is no name.
  return lower.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace fernwick::redaction
