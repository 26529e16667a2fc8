#pragma once
// Reading the configuration database VoxtraDb: the connection string every
// query uses and the lookup of one configuration value.
#include <string>
#include <string_view>

#include "common/message_boxes.h"
#include "platform/config_database.h"

namespace fernwick::probes {

// The default SQL Server instance of the local machine, Windows
// authentication.
inline constexpr const char* kStandardConnectionString = "Driver={SQL Server};server=;database=VoxtraDb";

// `text` as a SQL string literal: enclosed in apostrophes, each apostrophe
// inside doubled, so that a name such as "O'Brien" stays one literal.
std::string SqlStringLiteral(std::string_view text);

// The NodeValue of the one vw_Configuration row whose FullNodeName is
// `fullNodeName`, or "" for an empty name (no query is made), no row, a NULL
// value, more than one row (with a message box) or a failing query (with a
// message box that names the error).
std::string strPullConfigurationString(platform::ConfigDatabase& database, MessageBoxes& messages,
                                       const std::string& fullNodeName);

}  // namespace fernwick::probes
