#include "probes/exchange_info.h"

#include "common/text.h"
#include "probes/procedure_trap.h"

namespace fernwick::probes {

// The keys are spelled as the libraries' own version texts spell them
// (leading zeros included), because they are matched as text. The double
// blank in some descriptions is what the report has always printed.
ExchangeInfo::ExchangeInfo(MessageBoxes& boxes)
    : boxes_(boxes),
      builds_{
          {"6.0.4417", "Microsoft Exchange 2000 Server (a)"},
          {"6.0.4712", "Microsoft Exchange 2000 Server SP1"},
          {"6.0.5762", "Microsoft Exchange 2000 Server SP2"},
          {"6.0.6249", "Microsoft Exchange 2000 Server SP3"},
          {"6.0.6487", "Microsoft Exchange 2000 Server post-SP3"},
          {"6.0.6556", "Microsoft Exchange 2000 Server post-SP3"},
          {"6.0.6603", "Microsoft Exchange 2000 Server post-SP3"},
          {"6.5.6944", "Microsoft Exchange Server  2003"},
          {"6.5.7226", "Microsoft Exchange Server  2003 SP1"},
          {"6.5.7638", "Microsoft Exchange Server  2003 SP2"},
          {"6.5.7654", "Microsoft Exchange Server  2003 post-SP2"},
          {"8.0.685.24", "Microsoft Exchange Server  2007"},
          {"8.0.685.25", "Microsoft Exchange Server  2007"},
          {"8.1.0240.006", "Microsoft Exchange Server 2007 SP1"},
          {"8.2.0176.002", "Microsoft Exchange Server 2007 SP2"},
          {"14.00.0639.021", "Microsoft Exchange Server 2010"},
      } {}

std::string ExchangeInfo::GetDescription(const std::string& buildNumber) {
  ProcedureTrap trap(boxes_, "(error):", " in procedure ExchangeInfo::GetDescription of Form frmMain");
  std::string description;
  for (const auto& [build, text] : builds_) {
    trap.Run([&] {
      if (StartsWithNoCase(buildNumber, build)) description = text;
    });
  }
  return description;
}

}  // namespace fernwick::probes
