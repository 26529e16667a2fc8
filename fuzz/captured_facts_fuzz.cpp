// image.ini of a captured server image: the [capture] mark, the workstation
// calls' failure codes (WorkstationInfoError, UserInfoError) beside the
// other facts. Beyond "no crash": a bad number is only ever a
// std::runtime_error, a stated failure code is what the call answers, and
// in a captured image a call the facts do not state, or a successful call
// missing a fact the report shows, is NotCaptured.
#include <stdexcept>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/image/image_file_facts.h"
#include "platform/image/image_workstation.h"
#include "platform/image/ini_file.h"
#include "platform/image/not_captured.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fernwick;
  using fuzz::Check;
  const image::IniFile ini = image::IniFile::Parse(fuzz::AsText(data, size));
  try {
    image::ReadImageFileFacts(ini);
  } catch (const std::runtime_error&) {
  }
  image::WorkstationFacts facts;
  try {
    facts = image::ReadWorkstationFacts(ini);
  } catch (const std::runtime_error&) {
    return 0;
  }
  facts.strict = ini.Get("capture", "RecordedBy").has_value();
  image::ImageWorkstation workstation(facts);
  platform::WkstaInfo102 info;
  try {
    const std::uint32_t code = workstation.GetInfo102(info);
    Check(code == (facts.info102Fails ? facts.info102Error : 0), "level 102 answers its stated code");
  } catch (const image::NotCaptured&) {
    Check(facts.strict && (!facts.states102 || (!facts.info102Fails && !facts.missing102.empty())),
          "only an unstated call or fact of a capture is not captured");
  }
  return 0;
}
