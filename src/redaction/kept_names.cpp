#include "redaction/kept_names.h"

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

}  // namespace

bool IsKeptName(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower.empty()) return true;
  if (lower.rfind("nt authority\\", 0) == 0 || lower.rfind("builtin\\", 0) == 0) return true;
  for (const auto kept : kKept) {
    if (lower == kept) return true;
  }
  // A bare number is no name.
  return lower.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace fernwick::redaction
