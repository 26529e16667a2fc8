#include "platform/recording/recorder.h"

#include "platform/recording/capture.h"
#include "platform/recording/image_writer.h"
#include "platform/recording/recording_clock.h"
#include "platform/recording/recording_code_pages.h"
#include "platform/recording/recording_database.h"
#include "platform/recording/recording_files.h"
#include "platform/recording/recording_internet.h"
#include "platform/recording/recording_process.h"
#include "platform/recording/recording_program_facts.h"
#include "platform/recording/recording_registry.h"
#include "platform/recording/recording_versions.h"
#include "platform/recording/recording_workstation.h"
#include "platform/recording/recording_xml.h"

namespace fernwick::recording {

struct Recorder::Services {
  Services(platform::Platform& real, Capture& capture)
      : registry(real.registry, capture),
        files(real.files, capture),
        process(real.process, capture, files),
        program(real.program, capture),
        clock(real.clock, capture),
        database(real.database, capture),
        versions(real.versions, capture),
        workstation(real.workstation, capture),
        internet(real.internet, capture),
        xml(real.xml, capture),
        codePages(real.codePages, capture) {}

  RecordingRegistry registry;
  RecordingFiles files;
  RecordingProcess process;
  RecordingProgramFacts program;
  RecordingClock clock;
  RecordingDatabase database;
  RecordingVersions versions;
  RecordingWorkstation workstation;
  RecordingInternet internet;
  RecordingXml xml;
  RecordingCodePages codePages;
};

Recorder::Recorder(platform::Platform& real)
    : real_(real), capture_(std::make_unique<Capture>()), services_(std::make_unique<Services>(real, *capture_)) {
  capture_->currentFolder = real.files.CurrentFolder();
  platform_ = std::make_unique<platform::Platform>(
      platform::Platform{services_->registry, services_->files, services_->process, services_->program, real.ui,
                         services_->clock, services_->database, services_->versions, services_->workstation,
                         services_->internet, services_->xml, services_->codePages, this});
}

Recorder::~Recorder() = default;

platform::Platform& Recorder::Platform() {
  return *platform_;
}

void Recorder::Restart() {
  written_.reset();
  if (!startup_) {
    startup_ = std::make_unique<Capture>(*capture_);
  } else {
    *capture_ = *startup_;
  }
}

std::string Recorder::WriteImage(const std::string& folder) {
  if (!written_) written_ = std::make_unique<Capture>(*capture_);
  return WriteCaptureImage(*written_, real_.files, folder);
}

}  // namespace fernwick::recording
