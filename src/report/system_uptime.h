#pragma once
// The uptime as the Windows `systeminfo` command prints it.
#include <string>
#include <string_view>

namespace fernwick::report {

// The text after "System Up Time:" (found without regard to case) up to the
// line's CRLF, starting 26 characters after the label, where `systeminfo`
// values start in column 28 (so one leading blank stays).
// "Unable to parse windows systeminfo output" when the label is missing.
// A label with no CRLF after it, or one too close to it, is error 5.
std::string UptimeText(std::string_view systemInfoOutput);

}  // namespace fernwick::report
