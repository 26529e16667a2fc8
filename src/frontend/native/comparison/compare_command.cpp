#include "frontend/native/comparison/compare_command.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>

#include "common/text.h"
#include "comparison/comparison.h"
#include "comparison/comparison_page.h"
#include "frontend/native/cabinet_image/cabinet_image.h"
#include "frontend/native/cabinet_image/removal_on_exit.h"
#include "frontend/native/comparison/compared_input.h"

namespace fernwick::native {
namespace fs = std::filesystem;

namespace {

constexpr const char* kCompareUsage = "Usage: fernwick --compare OLD NEW [--html FILE] [--all] [--different-servers]\n";

struct CompareOptions {
  std::vector<fs::path> inputs;
  bool all = false;
  bool differentServers = false;
  std::string html;  // the page's file, when asked
};

std::optional<CompareOptions> ReadCompareOptions(const std::vector<std::string>& args) {
  CompareOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--compare") continue;
    if (arg == "--html") {
      if (i + 1 == args.size()) {
        std::fputs("fernwick: --html needs a file\n", stderr);
        return std::nullopt;
      }
      o.html = args[++i];
    } else if (arg == "--all") {
      o.all = true;
    } else if (arg == "--different-servers") {
      o.differentServers = true;
    } else if (arg.starts_with("--")) {
      std::fprintf(stderr, "fernwick: --compare does not take %s\n", arg.c_str());
      return std::nullopt;
    } else {
      o.inputs.emplace_back(arg);
    }
  }
  if (o.inputs.size() != 2) {
    std::fputs("fernwick: --compare needs OLD and NEW, each a VoxtraInfo.cab or a server image folder\n", stderr);
    return std::nullopt;
  }
  return o;
}

std::string Server(const comparison::ReportIdentity& id) {
  return (id.name.empty() ? "no server name" : id.name) + (id.systemId.empty() ? "" : ", System ID " + id.systemId);
}

int Compare(const CompareOptions& o, const fs::path& scratch) {
  comparison::ComparedSide sides[2];
  for (std::size_t i = 0; i < 2; ++i) {
    try {
      sides[i] = ReadComparedInput(o.inputs[i], scratch / (i == 0 ? "old" : "new"));
    } catch (const ComparedInputError& e) {
      std::fprintf(stderr, "fernwick: cannot compare %s: %s\n", o.inputs[i].c_str(), e.what());
      return kCompareBadInput;
    }
  }
  comparison::ComparisonOptions options;
  options.all = o.all;
  const comparison::Comparison result = comparison::Compare(sides[0], sides[1], options);
  if (!result.sameServer && !o.differentServers) {
    // One System ID under two names: a package redacted and one not, or
    // two redacted with different maps.
    const bool oneSystemId =
        !result.oldIdentity.systemId.empty() && EqualsNoCase(result.oldIdentity.systemId, result.newIdentity.systemId);
    std::fprintf(stderr,
                 "fernwick: %s and %s are of different servers (%s; %s)%s; --different-servers compares them "
                 "anyway\n",
                 o.inputs[0].c_str(), o.inputs[1].c_str(), Server(result.oldIdentity).c_str(),
                 Server(result.newIdentity).c_str(),
                 oneSystemId ? ", or of one server redacted differently (one System ID)" : "");
    return kCompareBadInput;
  }
  const std::string text = comparison::ComparisonText(result, sides[0], sides[1]);
  std::fwrite(text.data(), 1, text.size(), stdout);
  if (!o.html.empty()) {
    std::ofstream page(o.html, std::ios::binary);
    page << comparison::ComparisonPage(result, sides[0], sides[1]);
    page.close();
    if (!page) {
      std::fprintf(stderr, "fernwick: cannot write %s\n", o.html.c_str());
      return kCompareBadInput;
    }
  }
  return comparison::Differs(result) ? kCompareDiffers : kCompareSame;
}

}  // namespace

bool AsksForComparison(const std::vector<std::string>& args) {
  for (const auto& arg : args) {
    if (arg == "--compare") return true;
  }
  return false;
}

int CompareCommand(const std::vector<std::string>& args) {
  const auto options = ReadCompareOptions(args);
  if (!options) {
    std::fputs(kCompareUsage, stderr);
    return kCompareBadInput;
  }
  LimitMemoryForCustomerCab();
  return InPrivateFolder("fernwick-compare", "--compare", kCompareBadInput,
                         [&](const fs::path& scratch) { return Compare(*options, scratch); });
}

}  // namespace fernwick::native
