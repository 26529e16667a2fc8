#include "frontend/native/cabinet_image/reveal_command.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "redaction/map_file.h"
#include "redaction/reveal.h"

namespace fernwick::native {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> ReadHost(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// "reply.txt" -> "reply.revealed.txt"
fs::path RevealedPath(const fs::path& file) {
  return file.parent_path() / (file.stem().string() + ".revealed" + file.extension().string());
}

}  // namespace

bool AsksForReveal(const std::vector<std::string>& args) {
  for (const auto& arg : args) {
    if (arg == "--reveal") return true;
  }
  return false;
}

int RevealCommand(const std::vector<std::string>& args) {
  fs::path mapPath;
  std::vector<fs::path> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--reveal") continue;
    if (args[i] == "--map" && i + 1 < args.size()) {
      mapPath = args[++i];
    } else {
      files.emplace_back(args[i]);
    }
  }
  if (mapPath.empty() || files.empty()) {
    std::fputs("Usage: fernwick --reveal --map RedactionMap.txt FILE...\n", stderr);
    return 2;
  }
  const auto text = ReadHost(mapPath);
  if (!text) {
    std::fprintf(stderr, "fernwick: cannot read the map %s\n", mapPath.c_str());
    return 2;
  }
  const auto file = redaction::ParseMapFile(*text);
  redaction::RedactionMap map;
  std::string error = file.error;
  if (error.empty()) map.Load(file.entries, error);
  if (!error.empty()) {
    std::fprintf(stderr, "fernwick: the map %s, %s\n", mapPath.c_str(), error.c_str());
    return 2;
  }
  const redaction::Revealer revealer(map);
  int code = 0;
  for (const auto& path : files) {
    const auto bytes = ReadHost(path);
    const fs::path target = RevealedPath(path);
    if (!bytes) {
      std::fprintf(stderr, "fernwick: cannot read %s\n", path.c_str());
      code = 5;
      continue;
    }
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    const std::string revealed = revealer.RevealFileBytes(*bytes);
    out.write(revealed.data(), static_cast<std::streamsize>(revealed.size()));
    if (!out) {
      std::fprintf(stderr, "fernwick: cannot write %s\n", target.c_str());
      code = 5;
      continue;
    }
    std::fprintf(stderr, "fernwick: %s\n", target.c_str());
  }
  return code;
}

}  // namespace fernwick::native
