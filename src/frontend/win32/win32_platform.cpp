#include "frontend/win32/win32_platform.h"

#include "common/runtime_error.h"
#include "platform/win32/win32_registry.h"

namespace fernwick::win32 {
namespace {

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

struct Win32Platform::Services {
  Win32Registry registry;
  Win32FileSystem files;
  Win32ProcessControl process;
  Win32ProgramFacts program;
  Win32UserInterface ui;
  Win32Clock clock;
  NoDatabase database;
  NoVersionResources versions;
  NoWorkstation workstation;
};

Win32Platform::Win32Platform() : services_(std::make_unique<Services>()) {
  bundle_ = std::make_unique<platform::Platform>(platform::Platform{
      services_->registry, services_->files, services_->process, services_->program, services_->ui, services_->clock,
      services_->database, services_->versions, services_->workstation});
}

Win32Platform::~Win32Platform() = default;

Win32UserInterface& Win32Platform::Ui() { return services_->ui; }

}  // namespace fernwick::win32
