#pragma once
// Names a redaction keeps: they identify no site (well-known accounts,
// product and platform names, the words a program writes where a name is
// missing).
#include <string_view>

namespace fernwick::redaction {

// Without regard to case; "NT AUTHORITY\..." and "BUILTIN\..." accounts
// count as well-known whatever follows.
bool IsKeptName(std::string_view name);

}  // namespace fernwick::redaction
