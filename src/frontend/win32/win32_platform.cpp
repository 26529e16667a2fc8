#include "frontend/win32/win32_platform.h"

#include "platform/odbc/odbc_database.h"
#include "platform/recording/recorder.h"
#include "platform/win32/win32_code_pages.h"
#include "platform/win32/win32_internet.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_version_resources.h"
#include "platform/win32/win32_workstation.h"
#include "platform/win32/win32_xml.h"

namespace fernwick::win32 {
struct Win32Platform::Services {
  Win32Registry registry;
  Win32FileSystem files;
  Win32ProcessControl process;
  Win32ProgramFacts program;
  Win32UserInterface ui;
  Win32Clock clock;
  odbc::OdbcDatabase database;
  Win32VersionResources versions;
  Win32Workstation workstation;
  Win32Internet internet;
  Win32XmlParser xml;
  Win32CodePages codePages;
};

Win32Platform::Win32Platform() : services_(std::make_unique<Services>()) {
  bundle_ = std::make_unique<platform::Platform>(
      platform::Platform{services_->registry, services_->files, services_->process, services_->program, services_->ui,
                         services_->clock, services_->database, services_->versions, services_->workstation,
                         services_->internet, services_->xml, services_->codePages});
  recorder_ = std::make_unique<recording::Recorder>(*bundle_);
}

Win32Platform::~Win32Platform() = default;

platform::Platform& Win32Platform::Get() {
  return recorder_->Platform();
}

Win32UserInterface& Win32Platform::Ui() {
  return services_->ui;
}

}  // namespace fernwick::win32
