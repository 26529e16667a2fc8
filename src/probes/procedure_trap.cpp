#include "probes/procedure_trap.h"

namespace fernwick::probes {

void ProcedureTrap::Report(const RuntimeError& error) {
  boxes_.Show(prefix_ + std::to_string(error.Number()) + " (" + error.Description() + ")" + suffix_);
}

}  // namespace fernwick::probes
