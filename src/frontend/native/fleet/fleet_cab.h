#pragma once
// One CAB of a fleet read and re-checked with today's rules, written as
// records (fleet/fleet_record.h): its server, its findings with their
// status, the facts its report tells, or why it could not be read. A CAB
// with a server image is gathered again (`--from-cab --recheck`); one
// without contributes its packed Findings.csv and report, marked as such.
#include <filesystem>
#include <iosfwd>

namespace fernwick::native {

// `scratch` is a private folder of this CAB's own, removed by the caller.
// Never throws: a CAB that cannot be read is a "failed" record.
void ReadFleetCab(const std::filesystem::path& cab, const std::filesystem::path& scratch, std::ostream& out);

}  // namespace fernwick::native
