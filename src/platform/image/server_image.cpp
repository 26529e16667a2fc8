#include "platform/image/server_image.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "common/runtime_error.h"
#include "platform/image/image_services.h"
#include "platform/image/reg_file.h"

namespace fernwick::image {
namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// Until the image carries them, the database, version resources and
// workstation answer as a machine that has none.
class NoDatabase : public platform::ConfigDatabase {
public:
  platform::RecordSet OpenQuery(const std::string&, const std::string&) override {
    throw RuntimeError(err::kDatabaseError, "Data source name not found and no default driver specified");
  }
  std::unique_ptr<platform::ServerConnection> OpenServer(const std::string&) override {
    throw RuntimeError(err::kDatabaseError, "Data source name not found and no default driver specified");
  }
};

class NoVersionResources : public platform::VersionResources {
public:
  std::uint32_t InfoSize(const std::string&) override { return 0; }
  std::unique_ptr<platform::VersionBlock> Load(const std::string&) override { return nullptr; }
  std::string LanguageName(std::uint32_t) override { return {}; }
};

class NoWorkstation : public platform::Workstation {
public:
  std::uint32_t OsPlatformId() override { return platform::kVerPlatformWin32Nt; }
  std::uint32_t GetInfo102(platform::WkstaInfo102&) override { return 2138; }
  std::uint32_t GetUserInfo1(platform::WkstaUserInfo1&) override { return 2138; }
};

}  // namespace

struct ServerImage::Services {
  ImageClock clock;
  ImageProgramFacts program;
  ImageUserInterface ui;
  ImageProcessControl process;
  NoDatabase database;
  NoVersionResources versions;
  NoWorkstation workstation;
};

ServerImage::ServerImage(const fs::path& root, const fs::path& outputRoot, std::string commandLine) {
  std::error_code ec;
  if (!fs::is_directory(root, ec)) throw ServerImageError(root.string() + ": not a server image folder");
  const fs::path factsFile = root / "image.ini";
  if (!fs::is_regular_file(factsFile, ec)) throw ServerImageError(factsFile.string() + ": missing (facts of the image)");
  facts_ = IniFile::Parse(ReadText(factsFile));

  const fs::path registryDir = root / "registry";
  std::vector<fs::path> regFiles;
  for (fs::directory_iterator it(registryDir, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() == ".reg") regFiles.push_back(it->path());
  }
  if (regFiles.empty()) throw ServerImageError(registryDir.string() + ": no registry export (*.reg) found");
  std::sort(regFiles.begin(), regFiles.end());
  try {
    for (const auto& file : regFiles) LoadRegFile(registry_, file);
  } catch (const RegFileError& e) {
    throw ServerImageError(e.what());
  }

  const std::string installFolder = facts_.GetOr("program", "InstallFolder", "C:\\Program Files\\Fernwick");
  files_ = std::make_unique<ImageFileSystem>(root, outputRoot,
                                             facts_.GetOr("program", "CurrentFolder", installFolder));
  services_ = std::unique_ptr<Services>(new Services{ImageClock(facts_.GetOr("clock", "Now", "")),
                                                     ImageProgramFacts(std::move(commandLine), installFolder),
                                                     {},
                                                     {},
                                                     {},
                                                     {},
                                                     {}});
  platform_ = std::make_unique<platform::Platform>(platform::Platform{
      registry_, *files_, services_->process, services_->program, services_->ui, services_->clock,
      services_->database, services_->versions, services_->workstation});
}

ServerImage::~ServerImage() = default;

const std::vector<std::string>& ServerImage::ShownMessages() const { return services_->ui.shown; }
const std::string& ServerImage::Clipboard() const { return services_->ui.clipboard; }

}  // namespace fernwick::image
