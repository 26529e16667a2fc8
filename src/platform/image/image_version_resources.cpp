#include "platform/image/image_version_resources.h"

#include <LIEF/PE/Binary.hpp>
#include <LIEF/PE/Parser.hpp>
#include <LIEF/PE/ResourceData.hpp>
#include <LIEF/PE/ResourceNode.hpp>
#include <LIEF/PE/utils.hpp>
#include <LIEF/logging.hpp>

#include <exception>
#include <system_error>

#include "common/text.h"
#include "platform/image/not_captured.h"
#include "platform/image/version_block_reader.h"
#include "platform/image/windows_language_names.h"

namespace fernwick::image {
namespace {

// version.dll looks for the resource of type RT_VERSION with the id
// VS_VERSION_INFO, in whichever language the file holds it.
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVsVersionInfo = 1;

const LIEF::PE::ResourceNode* ChildWithId(const LIEF::PE::ResourceNode& node, std::uint32_t id) {
  for (const LIEF::PE::ResourceNode& child : node.childs()) {
    if (!child.has_name() && child.id() == id) return &child;
  }
  return nullptr;
}

const LIEF::PE::ResourceData* FirstData(const LIEF::PE::ResourceNode& node) {
  for (const LIEF::PE::ResourceNode& child : node.childs()) {
    if (const auto* data = dynamic_cast<const LIEF::PE::ResourceData*>(&child)) return data;
  }
  return nullptr;
}

}  // namespace

ImageVersionResources::ImageVersionResources(HostPathFunction hostPath) : hostPath_(std::move(hostPath)) {
  // The PE parser reports every oddity of a file on stderr; the answers here
  // are the only report wanted.
  LIEF::Logger::disable();
}

std::optional<std::vector<std::uint8_t>> ImageVersionResources::ReadVersionResource(const std::string& path) const {
  std::optional<std::filesystem::path> host = hostPath_(path);
  std::error_code error;
  if (!host || !std::filesystem::is_regular_file(*host, error)) return std::nullopt;
  try {
    if (!LIEF::PE::is_pe(host->string())) return std::nullopt;
    std::unique_ptr<LIEF::PE::Binary> binary = LIEF::PE::Parser::parse(host->string());
    if (!binary || !binary->has_resources()) return std::nullopt;
    const LIEF::PE::ResourceNode* type = ChildWithId(binary->resources(), kRtVersion);
    const LIEF::PE::ResourceNode* name = type ? ChildWithId(*type, kVsVersionInfo) : nullptr;
    const LIEF::PE::ResourceData* data = name ? FirstData(*name) : nullptr;
    if (!data || data->content().empty()) return std::nullopt;
    return data->content();
  } catch (const std::exception&) {
    // A damaged file has no version information for version.dll either; the
    // PE parser reports damage with its own exceptions and, for sizes that
    // make no sense, with those of the standard library.
    return std::nullopt;
  }
}

void ImageVersionResources::UseStatements(std::map<std::string, StatedVersion> stated,
                                          std::map<std::uint32_t, std::string> languages, bool strict) {
  stated_ = std::move(stated);
  languages_ = std::move(languages);
  strict_ = strict;
}

const StatedVersion* ImageVersionResources::Stated(const std::string& path) const {
  const auto found = stated_.find(ToUpper(path));
  return found == stated_.end() ? nullptr : &found->second;
}

std::uint32_t ImageVersionResources::InfoSize(const std::string& path) {
  if (const StatedVersion* stated = Stated(path); stated != nullptr && stated->size) return *stated->size;
  if (strict_) throw NotCaptured("version resource size of " + path);
  std::optional<std::vector<std::uint8_t>> resource = ReadVersionResource(path);
  return resource ? static_cast<std::uint32_t>(resource->size()) : 0;
}

std::unique_ptr<platform::VersionBlock> ImageVersionResources::Load(const std::string& path) {
  if (const StatedVersion* stated = Stated(path); stated != nullptr && (!strict_ || stated->noBlock || stated->block)) {
    if (stated->noBlock) return nullptr;
    return std::make_unique<StatedVersionBlock>(*stated, strict_);
  }
  if (strict_) throw NotCaptured("version block of " + path);
  std::optional<std::vector<std::uint8_t>> resource = ReadVersionResource(path);
  if (!resource) return nullptr;
  return std::make_unique<VersionBlockReader>(std::move(*resource));
}

std::string ImageVersionResources::LanguageName(std::uint32_t languageId) {
  if (const auto found = languages_.find(languageId); found != languages_.end()) return found->second;
  if (strict_) throw NotCaptured("language name " + HexPadded(languageId, 4));
  return WindowsLanguageName(languageId);
}

}  // namespace fernwick::image
