#pragma once
// Service-pack names of the Exchange management tools and of SQL Server, by
// build number, as the messaging section prints them.
#include <cstdint>
#include <optional>
#include <string>

#include "report/marked_text.h"

namespace fernwick::report {

// The text after "<release> build <b>" for the Exchange setup's
// "ServicePackBuild" b (1 or more): nullopt for 1960, 4417 and the builds
// up to 6944 the table does not know (the provider text is then empty), the
// missing-library warning (with its finding) for unknown builds above 6944. `emsmdb32Path` is
// the library that was looked for.
std::optional<MarkedText> ExchangeServicePackText(std::int32_t build, const std::string& emsmdb32Path);

// ": SP 3" and the like for SQL Server build numbers; ": unknown SP"
// for any build the table does not know.
std::string SqlServicePackText(long build);

}  // namespace fernwick::report
