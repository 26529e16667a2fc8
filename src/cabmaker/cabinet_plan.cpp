#include "cabmaker/cabinet_plan.h"

namespace fernwick::cabmaker {

CabinetPlan PlanCabinet(const Directives& directives, const std::vector<std::uint64_t>& sizes, std::string& tooLarge,
                        std::uint64_t folderLimit) {
  CabinetPlan plan;
  plan.compress = directives.compress;
  std::size_t index = 0;
  for (const auto& folder : directives.folders) {
    plan.folders.emplace_back();
    std::uint64_t used = 0;
    for (const auto& entry : folder) {
      const std::uint64_t size = index < sizes.size() ? sizes[index] : 0;
      ++index;
      if (size > folderLimit) {
        tooLarge = entry.source;
        return {};
      }
      if (used + size > folderLimit && !plan.folders.back().empty()) {
        plan.folders.emplace_back();
        used = 0;
      }
      used += size;
      plan.folders.back().push_back({entry.source, entry.destination, size});
    }
  }
  return plan;
}

std::string ReportText(const CabinetPlan& plan, const std::string& cabinetName, std::uint64_t cabinetSize) {
  std::uint64_t files = 0;
  std::uint64_t before = 0;
  for (const auto& folder : plan.folders) {
    for (const auto& file : folder) {
      ++files;
      before += file.size;
    }
  }
  std::string text = "cabmaker report\r\n";
  text += "Cabinet:        " + cabinetName + "\r\n";
  text += "Folders:        " + std::to_string(plan.folders.size()) + "\r\n";
  text += "Files:          " + std::to_string(files) + "\r\n";
  text += "Bytes before:   " + std::to_string(before) + "\r\n";
  text += "Bytes after:    " + std::to_string(cabinetSize) + "\r\n";
  text += std::string("Compression:    ") + (plan.compress ? "MSZIP" : "none") + "\r\n";
  return text;
}

std::string InfText(const CabinetPlan& plan, const std::string& cabinetName) {
  std::string text =
      ";cabmaker: the files of the cabinet\r\n[disk list]\r\n1,\"" + cabinetName + "\"\r\n[file list]\r\n";
  int folderNumber = 0;
  for (const auto& folder : plan.folders) {
    ++folderNumber;
    for (const auto& file : folder) {
      text +=
          "1," + std::to_string(folderNumber) + ",\"" + file.destination + "\"," + std::to_string(file.size) + "\r\n";
    }
  }
  return text;
}

}  // namespace fernwick::cabmaker
