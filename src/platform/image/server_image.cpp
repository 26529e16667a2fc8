#include "platform/image/server_image.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/image/captured_file_system.h"
#include "platform/image/captured_registry.h"
#include "platform/image/image_code_pages.h"
#include "platform/image/image_database.h"
#include "platform/image/image_internet.h"
#include "platform/image/image_programs.h"
#include "platform/image/image_services.h"
#include "platform/image/image_version_resources.h"
#include "platform/image/image_workstation.h"
#include "platform/image/image_xml.h"
#include "platform/image/reg_file.h"
#include "platform/recording/capture_texts.h"

namespace fernwick::image {
namespace fs = std::filesystem;

namespace {

// The whole file, read into one buffer of its size.
std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  std::string content;
  if (!in || ec) return content;
  content.resize(size);
  in.read(content.data(), static_cast<std::streamsize>(size));
  content.resize(static_cast<std::size_t>(in.gcount()));
  return content;
}

// Facts may hold line ends and tabs (SQL Server's version text has both)
// written as \n and \t; \\ is a backslash.
std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      out.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next);
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

struct ServerImage::Services {
  ImageClock clock;
  ImageProgramFacts program;
  ImageUserInterface ui;
  ImageProcessControl process;
  ImageDatabase database;
  ImageVersionResources versions;
  ImageWorkstation workstation;
  ImageInternet internet;
  ImageXmlParser xml;
  ImageCodePages codePages;
};

ServerImage::ServerImage(const fs::path& root, const fs::path& outputRoot, std::string commandLine) : root_(root) {
  std::error_code ec;
  if (!fs::is_directory(root, ec)) throw ServerImageError(root.string() + ": not a server image folder");
  const fs::path factsFile = root / "image.ini";
  if (!fs::is_regular_file(factsFile, ec))
    throw ServerImageError(factsFile.string() + ": missing (facts of the image)");
  facts_ = IniFile::Parse(ReadText(factsFile));
  captured_ = facts_.Get("capture", recording::kCaptureMarkKey).has_value();
  const fs::path answersFile = root / "answers.txt";
  const bool hasAnswers = fs::is_regular_file(answersFile, ec);
  std::map<std::string, StatedVersion> versions;
  try {
    if (hasAnswers) answers_ = ParseRecordedAnswers(ReadText(answersFile));
    if (fs::is_regular_file(root / "versions.txt", ec))
      versions = ParseVersionStatements(ReadText(root / "versions.txt"));
  } catch (const std::runtime_error& e) {
    throw ServerImageError((root / e.what()).string());
  }

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
  ImageFileFacts fileFacts;
  try {
    fileFacts = ReadImageFileFacts(facts_);
  } catch (const std::runtime_error& e) {
    throw ServerImageError(factsFile.string() + ": " + e.what());
  }
  const std::string currentFolder = facts_.GetOr("program", "CurrentFolder", installFolder);
  if (hasAnswers || captured_) {
    files_ = std::make_unique<CapturedFileSystem>(root, outputRoot, currentFolder, std::move(fileFacts), answers_,
                                                  captured_);
    recordedRegistry_ = std::make_unique<CapturedRegistry>(registry_, answers_, captured_);
  } else {
    files_ = std::make_unique<ImageFileSystem>(root, outputRoot, currentFolder, std::move(fileFacts));
  }
  WorkstationFacts workstation;
  try {
    workstation = ReadWorkstationFacts(facts_);
    workstation.strict = captured_;
  } catch (const std::runtime_error& e) {
    throw ServerImageError(factsFile.string() + ": " + e.what());
  }
  std::uint32_t codePage = platform::kWesternCodePage;
  if (const auto stated = facts_.Get("system", "AnsiCodePage")) {
    try {
      codePage = static_cast<std::uint32_t>(std::stoul(*stated));
    } catch (const std::exception&) {
      throw ServerImageError(factsFile.string() + ": [system] AnsiCodePage: not a number: " + *stated);
    }
  }
  ImageFileSystem* files = files_.get();
  services_ = std::unique_ptr<Services>(new Services{
      ImageClock(facts_.GetOr("clock", "Now", ""), captured_),
      ImageProgramFacts(std::move(commandLine), installFolder),
      {},
      ImageProcessControl([files](const std::string& path) { return files->ImageFileSystem::FileExists(path); }),
      ImageDatabase(root, outputRoot / "scratch", Unescape(facts_.GetOr("sqlserver", "Version", "")),
                    Unescape(facts_.GetOr("sqlserver", "Edition", ""))),
      ImageVersionResources([files](const std::string& path) { return files->HostPath(path); }),
      ImageWorkstation(std::move(workstation)),
      ImageInternet(root),
      {},
      ImageCodePages(codePage)});
  AddGatheringPrograms(services_->process, *files_, root);
  if (hasAnswers || captured_) {
    services_->database.UseRecorded(answers_, captured_);
    services_->internet.UseRecorded(answers_, captured_);
    for (const auto& [command, error] : answers_.failedStarts) services_->process.FailStart(command, error);
    for (const auto& [command, answer] : answers_.waits) services_->process.AnswerWait(command, answer);
    for (const std::string& command : answers_.unended) services_->process.FailEnd(command);
  }
  services_->versions.UseStatements(std::move(versions), answers_.languageNames, captured_);
  platform_ = std::make_unique<platform::Platform>(platform::Platform{
      recordedRegistry_ ? *recordedRegistry_ : static_cast<platform::Registry&>(registry_), *files_, services_->process,
      services_->program, services_->ui, services_->clock, services_->database, services_->versions,
      services_->workstation, services_->internet, services_->xml, services_->codePages});
  files_->SetTemporaryFolder(facts_.GetOr("program", "TempFolder", "C:\\WINDOWS\\Temp\\"));
}

ServerImage::~ServerImage() = default;

const std::vector<std::string>& ServerImage::ShownMessages() const {
  return services_->ui.shown;
}
const std::string& ServerImage::Clipboard() const {
  return services_->ui.clipboard;
}
ImageProcessControl& ServerImage::Processes() {
  return services_->process;
}

}  // namespace fernwick::image
