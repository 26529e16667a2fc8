#pragma once
// The bundle of platform services handed to the core. The core reaches the
// machine only through these.
#include "platform/capture_store.h"
#include "platform/clock.h"
#include "platform/code_pages.h"
#include "platform/config_database.h"
#include "platform/file_system.h"
#include "platform/internet.h"
#include "platform/process_control.h"
#include "platform/program_facts.h"
#include "platform/registry.h"
#include "platform/user_interface.h"
#include "platform/version_resources.h"
#include "platform/workstation.h"
#include "platform/xml.h"

namespace fernwick::platform {

struct Platform {
  Registry& registry;
  FileSystem& files;
  ProcessControl& process;
  ProgramFacts& program;
  UserInterface& ui;
  Clock& clock;
  ConfigDatabase& database;
  VersionResources& versions;
  Workstation& workstation;
  Internet& internet;
  XmlParser& xml;
  CodePages& codePages;
  // The recording of this gathering, when the bundle records; else none.
  CaptureStore* capture = nullptr;
};

}  // namespace fernwick::platform
