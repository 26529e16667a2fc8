#include "frontend/native/verification/verify_command.h"

#include <glib.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

#include "cabmaker/cabinet_plan.h"
#include "common/text.h"
#include "frontend/native/cabinet_image/cabinet_files.h"
#include "packaging/manifest.h"
#include "packaging/package_ledger.h"

namespace fernwick::native {
namespace {

// The SHA-256 of `bytes`, by GLib.
std::string Digest(std::string_view bytes) {
  GChecksum* checksum = g_checksum_new(G_CHECKSUM_SHA256);
  g_checksum_update(checksum, reinterpret_cast<const guchar*>(bytes.data()), static_cast<gssize>(bytes.size()));
  std::string hex = g_checksum_get_string(checksum);
  g_checksum_free(checksum);
  return hex;
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return content.str();
}

// The digest file beside the cabinet, when there is one: its first word
// must be the cabinet's digest.
std::optional<std::string> DigestFileProblem(const std::filesystem::path& cabinet, const std::string& cabinetBytes) {
  const std::filesystem::path digestFile = cabinet.string() + ".sha256";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(digestFile, ec)) return std::nullopt;
  if (std::filesystem::file_size(digestFile, ec) > 4096) {
    return digestFile.filename().string() + " is no digest file (too big)";
  }
  const std::string text = ReadFile(digestFile).value_or("");
  const std::string stated = text.substr(0, text.find_first_of(" \t\r\n"));
  if (stated == Digest(cabinetBytes)) return std::nullopt;
  return "the cabinet is not the one " + digestFile.filename().string() + " beside it names (its SHA-256 differs)";
}

}  // namespace

bool AsksForVerification(const std::vector<std::string>& args) {
  return !args.empty() && args[0] == "--verify";
}

packaging::Verification VerifyCabinet(const std::filesystem::path& cabinet) {
  const std::string name = cabinet.filename().string();
  packaging::Verification failed;
  std::error_code ec;
  const auto size = std::filesystem::file_size(cabinet, ec);
  if (ec || !std::filesystem::is_regular_file(cabinet, ec)) {
    failed.lines.push_back("cannot read " + cabinet.string() + ": no such file");
    return failed;
  }
  // A cabinet Fernwick makes holds at most cabmaker's limit; a bigger one
  // is no package of ours, and is not read into memory.
  if (size > cabmaker::kCabinetLimit + (64u << 20)) {
    failed.lines.push_back(name + " is larger than any cabinet Fernwick makes (" + std::to_string(size) + " bytes)");
    return failed;
  }
  const auto bytes = ReadFile(cabinet);
  if (!bytes) {
    failed.lines.push_back("cannot read " + cabinet.string());
    return failed;
  }
  const CabinetFiles read = ReadCabinetBytes(
      *bytes, [](const std::string&) { return true; }, cabmaker::kCabinetLimit);
  if (!read.error.empty()) {
    failed.lines.push_back(name + ": " + read.error);
    return failed;
  }
  std::vector<packaging::CabinetEntry> entries;
  std::optional<std::string> manifest;
  for (const CabinetFile& file : read.files) {
    entries.push_back({file.name, file.bytes.size(), Digest(file.bytes)});
    if (EqualsNoCase(file.name, packaging::kManifestName) && !manifest) manifest = file.bytes;
  }
  packaging::Verification v = packaging::VerifyAgainstManifest(name, entries, manifest);
  if (const auto problem = DigestFileProblem(cabinet, *bytes)) {
    v.lines.insert(v.lines.end() - 1, *problem);
    if (v.exitCode != packaging::kVerifyFailed) {
      v.lines.back() = name + " is not the cabinet that was made: " + *problem;
      v.exitCode = packaging::kVerifyFailed;
    }
  }
  return v;
}

int VerifyCommand(const std::vector<std::string>& args) {
  if (args.size() != 2 || args[1].empty() || args[1][0] == '-') {
    std::fprintf(stderr, "Usage: fernwick --verify VoxtraInfo.cab\n");
    return packaging::kVerifyFailed;
  }
  const packaging::Verification v = VerifyCabinet(args[1]);
  for (const std::string& line : v.lines) std::printf("%s\n", line.c_str());
  return v.exitCode;
}

}  // namespace fernwick::native
