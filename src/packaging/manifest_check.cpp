#include "packaging/manifest_check.h"

#include <map>

#include "common/text.h"
#include "packaging/manifest.h"

namespace fernwick::packaging {

Verification VerifyAgainstManifest(const std::string& cabinetName, const std::vector<CabinetEntry>& entries,
                                   const std::optional<std::string>& manifest) {
  Verification v;
  auto& out = v.lines;
  if (!manifest) {
    out.push_back(cabinetName + " holds no " + kManifestName +
                  ": it was made before cabinets carried one, or not by Fernwick; it holds " +
                  std::to_string(entries.size()) + " entr" + (entries.size() == 1 ? "y" : "ies") + ":");
    for (const CabinetEntry& e : entries) out.push_back("  " + e.name + " (" + std::to_string(e.size) + " bytes)");
    return v;
  }
  const ParsedManifest parsed = ParseManifest(*manifest);
  if (!parsed.error.empty()) {
    out.push_back(std::string(kManifestName) + " is damaged (" + parsed.error + "): nothing can be verified");
    return v;
  }
  // The cabinet's entries by upper-cased name; a name twice is a problem of its own.
  std::map<std::string, const CabinetEntry*> byName;
  bool problems = false;
  for (const CabinetEntry& e : entries) {
    if (!byName.emplace(ToUpper(e.name), &e).second) {
      out.push_back("twice in the cabinet: " + e.name);
      problems = true;
    }
  }
  std::size_t lost = 0;
  std::size_t matched = 0;
  for (const ManifestRecord& r : parsed.records) {
    const auto found = byName.find(ToUpper(r.name));
    const CabinetEntry* entry = found == byName.end() ? nullptr : found->second;
    if (found != byName.end()) byName.erase(found);
    if (r.Lost()) {
      ++lost;
      if (entry != nullptr) {
        out.push_back("in the cabinet though the manifest records it as lost: " + r.name);
        problems = true;
      } else {
        out.push_back("lost in the run that made it: " + r.name + " (" +
                      r.status.substr(std::string_view(kLostStatusPrefix).size()) + ")");
      }
      continue;
    }
    if (entry == nullptr) {
      out.push_back("missing: " + r.name + " (the manifest lists " + std::to_string(*r.size) + " bytes)");
      problems = true;
    } else if (entry->size < *r.size) {
      out.push_back("truncated: " + r.name + " holds " + std::to_string(entry->size) + " of its " +
                    std::to_string(*r.size) + " bytes");
      problems = true;
    } else if (entry->size != *r.size || entry->sha256 != r.sha256) {
      out.push_back("changed: " + r.name + " is not what the run that made it packed (" + std::to_string(entry->size) +
                    " bytes, SHA-256 " + entry->sha256 + ")");
      problems = true;
    } else {
      ++matched;
    }
  }
  for (const auto& [upper, entry] : byName) {
    if (EqualsNoCase(entry->name, kManifestName)) continue;
    out.push_back("not in the manifest: " + entry->name + " (" + std::to_string(entry->size) + " bytes)");
    problems = true;
  }
  if (problems) {
    out.push_back(cabinetName + " does not match its manifest: it was changed after it was made, or is damaged");
    return v;
  }
  if (lost > 0) {
    out.push_back(cabinetName + " is whole: the " + std::to_string(matched) +
                  " entries its manifest lists are as they were packed; the manifest records " + std::to_string(lost) +
                  " lost part" + (lost == 1 ? "" : "s"));
    v.exitCode = kVerifiedWithLostParts;
    return v;
  }
  out.push_back(cabinetName + " is whole: the " + std::to_string(matched) +
                " entries its manifest lists are as they were packed");
  v.exitCode = kVerifiedWhole;
  return v;
}

}  // namespace fernwick::packaging
