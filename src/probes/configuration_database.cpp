#include "probes/configuration_database.h"

#include "common/runtime_error.h"

namespace fernwick::probes {

std::string SqlStringLiteral(std::string_view text) {
  std::string literal = "'";
  for (char c : text) {
    if (c == '\'') literal += '\'';
    literal += c;
  }
  literal += '\'';
  return literal;
}

std::string strPullConfigurationString(platform::ConfigDatabase& database, MessageBoxes& messages,
                                       const std::string& fullNodeName) {
  if (fullNodeName.empty()) return "";
  try {
    // The name goes in as a literal with its apostrophes doubled: a name
    // holding one must neither break the statement nor extend it.
    platform::RecordSet result = database.OpenQuery(
        "SELECT FullNodeName, NodeValue FROM vw_Configuration WHERE FullNodeName=" + SqlStringLiteral(fullNodeName),
        kStandardConnectionString);
    const long count = result.RecordCount();
    if (count == 0) return "";
    if (count >= 2) {
      messages.Show("(error) more than one value found in vw_Configuration view for fullNodeName='" + fullNodeName +
                    "'");
      return "";
    }
    const platform::FieldValue& value = result.Field("NodeValue");
    return value.value_or("");
  } catch (const std::exception& e) {
    const RuntimeError error = AsRuntimeError(e);
    messages.Show("(error) " + std::to_string(error.Number()) + " (" + error.Description() +
                  ") in procedure strPullConfigurationString of Form frmMain");
    return "";
  }
}

}  // namespace fernwick::probes
