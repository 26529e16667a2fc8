#pragma once
// `fernwick --reveal --map RedactionMap.txt FILE...`: the customer's side
// of a redacted package. Each FILE (a vendor's reply, a report made from
// the redacted CAB) is written again beside itself as FILE's name with
// ".revealed" before its extension, the site's own names in place of the
// pseudonyms.
#include <string>
#include <vector>

namespace fernwick::native {

bool AsksForReveal(const std::vector<std::string>& args);
// The exit code: 0 each file written, 2 bad arguments or a map that cannot
// be read, 5 a file that cannot be read or written.
int RevealCommand(const std::vector<std::string>& args);

}  // namespace fernwick::native
