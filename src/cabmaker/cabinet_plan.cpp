#include "cabmaker/cabinet_plan.h"

namespace fernwick::cabmaker {

CabinetPlan PlanCabinet(const Directives& directives, const std::vector<std::uint64_t>& sizes, std::string& tooLarge,
                        std::uint64_t folderLimit, std::uint64_t cabinetLimit) {
  const auto sizeAt = [&sizes](std::size_t index) { return index < sizes.size() ? sizes[index] : 0; };
  std::uint64_t total = 0;
  std::size_t index = 0;
  for (const auto& folder : directives.folders) {
    for (const auto& entry : folder) {
      if (!entry.optional) total += sizeAt(index);
      ++index;
    }
  }
  CabinetPlan plan;
  plan.compress = directives.compress;
  index = 0;
  for (const auto& folder : directives.folders) {
    plan.folders.emplace_back();
    std::uint64_t used = 0;
    for (const auto& entry : folder) {
      PlannedFile file{entry.source, entry.destination, sizeAt(index++), entry.line, entry.optional, entry.named};
      if (file.size > folderLimit) {
        if (!file.optional) {
          tooLarge = entry.source;
          return {};
        }
        plan.leftOut.push_back({std::move(file), "it is larger than one cabinet folder can hold (" +
                                                     std::to_string(folderLimit) + " bytes)"});
        continue;
      }
      if (file.optional) {
        if (total + file.size > cabinetLimit) {
          plan.leftOut.push_back(
              {std::move(file), "the cabinet would hold more than " + std::to_string(cabinetLimit) + " bytes"});
          continue;
        }
        total += file.size;
      }
      if (used + file.size > folderLimit && !plan.folders.back().empty()) {
        plan.folders.emplace_back();
        used = 0;
      }
      used += file.size;
      plan.folders.back().push_back(std::move(file));
    }
    if (plan.folders.back().empty()) plan.folders.pop_back();
  }
  return plan;
}

std::uint64_t FileCount(const CabinetPlan& plan) {
  std::uint64_t files = 0;
  for (const auto& folder : plan.folders) files += folder.size();
  return files;
}

std::optional<PlannedFile> LeaveOutOptional(CabinetPlan& plan, const std::string& source) {
  for (auto folder = plan.folders.begin(); folder != plan.folders.end(); ++folder) {
    for (auto file = folder->begin(); file != folder->end(); ++file) {
      if (file->source != source || !file->optional) continue;
      PlannedFile left = std::move(*file);
      folder->erase(file);
      if (folder->empty()) plan.folders.erase(folder);
      return left;
    }
  }
  return std::nullopt;
}

std::string ReportText(const CabinetPlan& plan, const std::string& cabinetName, std::uint64_t cabinetSize) {
  const std::uint64_t files = FileCount(plan);
  std::uint64_t before = 0;
  for (const auto& folder : plan.folders) {
    for (const auto& file : folder) before += file.size;
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
