#include "report/prompt_set_verification.h"

#include "common/runtime_error.h"
#include "common/text.h"
#include "report/prompt_index_file.h"

namespace fernwick::report {
namespace {

constexpr std::size_t kIndexFileNameLength = 10;  // "Prompt.ini"

// A folder's path as the file system object gives it back: doubled
// backslashes (a root path with its trailing backslash joined to
// "\Localize\...") collapse to one; a leading "\\" of a share stays.
std::string FolderPath(const std::string& path) {
  std::string out;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\' && i > 1 && !out.empty() && out.back() == '\\') continue;
    out.push_back(path[i]);
  }
  return out;
}

// The budget is a 16-bit number: a charge that takes it out of range
// overflows, as the runtime's assignment would.
void Charge(std::int16_t& budget, std::size_t length) {
  const long long left = static_cast<long long>(budget) - static_cast<long long>(length);
  if (left < -32768) Raise(err::kOverflow);
  budget = static_cast<std::int16_t>(left);
}

}  // namespace

MarkedText PromptSetCheck::VerifyPromptSet(const std::string& folder, const std::string& name) {
  const std::string path = FolderPath(folder);
  const auto listing = files_.ListFolder(path);
  if (!listing) Raise(err::kPathNotFound);
  for (const auto& file : listing->files) {
    if (EqualsNoCase(file, name)) state_.strPromptIniList.push_back(path + "\\" + file);
    ui_.PumpMessages();
  }
  MarkedText result;
  for (const auto& sub : listing->folders) {
    if (state_.iPromptListBudget < 0) break;
    ui_.PumpMessages();
    result += VerifyPromptSet(path + "\\" + sub, name);
  }
  if (state_.iPromptListBudget < 0) return result;
  return CheckCollectedIndexFiles();
}

MarkedText PromptSetCheck::CheckCollectedIndexFiles() {
  MarkedText missing;
  // The list may grow only between checks; index by position, as the list
  // is checked in the order the files were found.
  for (std::size_t i = 0; i < state_.strPromptIniList.size(); ++i) {
    const IndexFileFindings& found = Findings(state_.strPromptIniList[i]);
    if (!found.hasPrompts) break;
    for (const auto& wavPath : found.missingWavPaths) {
      const std::string line = "         " + wavPath;
      Charge(state_.iPromptListBudget, line.size());
      if (state_.iPromptListBudget < 1) {
        missing += {FindingId::PromptsListCut,
                    "        <more prompts are missing but are not displayed>" + std::string(kCrLf)};
        break;
      }
      missing += line + std::string(kCrLf);
    }
    if (state_.iPromptListBudget < 0) break;
  }
  return missing;
}

const IndexFileFindings& PromptSetCheck::Findings(const std::string& indexPath) {
  if (const auto known = state_.findings.find(indexPath); known != state_.findings.end()) return known->second;
  const auto bytes = files_.ReadWholeFile(indexPath);
  if (!bytes) Raise(err::kFileNotFound);
  const auto names = PromptNames(PromptIndexLines(*bytes));
  IndexFileFindings found;
  found.hasPrompts = !names.empty();
  if (indexPath.size() < kIndexFileNameLength) Raise(err::kInvalidProcedureCall);
  const std::string folder = indexPath.substr(0, indexPath.size() - kIndexFileNameLength);
  for (const auto& prompt : names) {
    std::string wavPath = folder + prompt + ".wav";
    if (!files_.FileExists(wavPath)) found.missingWavPaths.push_back(std::move(wavPath));
  }
  return state_.findings.emplace(indexPath, std::move(found)).first->second;
}

}  // namespace fernwick::report
