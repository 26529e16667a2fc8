#pragma once
// Names a redaction keeps: they identify no site (well-known accounts,
// product and platform names, the words a program writes where a name is
// missing).
#include <string_view>

namespace fernwick::redaction {

// Without regard to case; "NT AUTHORITY\..." and "BUILTIN\..." accounts
// count as well-known whatever follows.
bool IsKeptName(std::string_view name);

// Why a name is never replaced because Fernwick itself reads it in a server
// image (a word of the registry paths it opens, a keyword of the image's own
// files, a product, Windows or well-known account name): replacing it would
// keep the redacted image from replaying. Empty for any other name.
std::string_view ProtectedReason(std::string_view name);

}  // namespace fernwick::redaction
