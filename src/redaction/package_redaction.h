#pragma once
// What a redacted VoxtraInfo.cab means as a whole, the same for Write To
// File on a server and for `fernwick --redact` of a cabinet: which files
// are streamed, the order of the work, the closing note.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "redaction/redaction_map.h"
#include "redaction/text_redactor.h"

namespace fernwick::redaction {

// The command-line switch (anywhere, any case, as the other switches).
inline constexpr const char* kRedactSwitch = "redact";

// The files the shipped directive files pack beside ServerImage.cab, in
// the order they are redacted: the small ones first, the event logs, then
// the two files that carry the note (Summary.htm, FernwickMessages.txt).
inline constexpr const char* kPackedFiles[] = {
    "VoxtraSystemInfo.txt", "ServiceInfo.csv",           "SwitchReport.html", "switchlog.txt",        "Findings.csv",
    "system_event_log.csv", "application_event_log.csv", "Summary.htm",       "FernwickMessages.txt",
};

// The event logs can be far bigger than memory should hold: they are
// redacted line by line in pieces.
bool IsStreamedFile(std::string_view name);

// Files whose names are collected before anything is redacted.
bool IsCollectedFile(std::string_view name);

// Learns every name before anything is replaced, so that a name learned in
// one file is replaced in all of them, the earlier lines of a streamed log
// included: `discoverFiles` runs the patterns over the files held whole,
// `collectLogs` the collecting pass over the streamed logs
// (LineStreamRedactor::Pass::kCollect). The files are looked at again when
// the logs taught something new, and the logs are read again only when a
// domain joined since their last reading (names under it and its accounts
// may stand in their earlier lines); three readings at most.
void LearnNames(TextRedactor& redactor, const std::function<void()>& discoverFiles,
                const std::function<void()>& collectLogs);

// "VoxtraInfo.cab is redacted: 3 host names, 2 domain names, ... replaced."
std::string RedactionNote(const std::map<Kind, int>& counts);

// The names kept because Fernwick reads them, each with its reason; empty
// when none was.
std::string KeptNote(const std::map<std::string, KeptName>& kept);

// "a host name", "an IPv4 address": what the check found, never the name.
std::string KindPhrase(Kind kind);
// How many originals of the map the check looks for (addresses and names;
// the labels of DNS names stand only inside them).
std::size_t CheckedOriginals(const RedactionMap& map);
// The note's sentence about the check every packed file passed before the
// cabinet was made.
std::string CheckNote(std::size_t originals, std::size_t files);

// The report lines whose layout depends on a name's length, told for the
// note: the prompt check lists missing prompts only up to a budget of
// characters, so where the list was cut and a listed path holds a name whose
// pseudonym has another length, a replay of the redacted image can cut it a
// line earlier or later. Empty when the redacted report has no such line.
std::string LengthDependentLines(std::string_view report, std::string_view redactedReport);

// Summary.htm with the note as a paragraph under its heading.
std::string SummaryWithNote(std::string_view html, std::string_view note);

// A path inside the server image ("drives\C\...\VOXTRA01.log"), each part
// redacted as a name: file and folder names are names too.
std::string RedactedEntryName(std::string_view name, TextRedactor& redactor);

}  // namespace fernwick::redaction
