#include "platform/recording/image_writer.h"

#include <exception>
#include <set>

#include "common/text.h"
#include "platform/recording/capture_texts.h"

namespace fernwick::recording {
namespace {

class Writer {
 public:
  Writer(platform::FileSystem& files, std::string folder) : files_(files), folder_(std::move(folder)) {}

  // Creates the folder `relative` of the image (and those above it).
  bool Folder(const std::string& relative) { return Ensure(folder_ + relative); }
  bool File(const std::string& relative, std::string_view bytes) {
    if (!failure_.empty()) return false;  // a full disk stays full: stop at the first failure
    const std::string path = folder_ + relative;
    const auto slash = path.rfind('\\');
    if (!Ensure(path.substr(0, slash))) return false;
    if (files_.WriteWholeFile(path, bytes)) return true;
    Fail(path);
    return false;
  }
  const std::string& Failure() const { return failure_; }

 private:
  bool Ensure(const std::string& path) {
    if (path.empty() || made_.count(ToUpper(path)) > 0) return true;
    if (path.size() <= 3 || files_.FolderExists(path)) {
      made_.insert(ToUpper(path));
      return true;
    }
    const auto slash = path.rfind('\\');
    if (slash != std::string::npos && !Ensure(path.substr(0, slash))) return false;
    if (!files_.CreateFolder(path)) {
      Fail(path);
      return false;
    }
    made_.insert(ToUpper(path));
    return true;
  }
  void Fail(const std::string& path) {
    if (failure_.empty()) failure_ = "cannot write " + path;
  }

  platform::FileSystem& files_;
  std::string folder_;
  std::set<std::string> made_;
  std::string failure_;
};

// pages\HOST\PATH for "http://HOST/PATH?QUERY"; empty when the URL has no
// file name there.
std::string PagePath(const std::string& url) {
  constexpr std::string_view scheme = "http://";
  if (!StartsWithNoCase(url, scheme)) return {};
  std::string rest = url.substr(scheme.size());
  if (const auto query = rest.find_first_of("?#"); query != std::string::npos) rest.erase(query);
  const auto slash = rest.find('/');
  std::string host = rest.substr(0, slash);
  if (const auto port = host.find(':'); port != std::string::npos) host.erase(port);
  if (host.empty() || slash == std::string::npos || rest.back() == '/') return {};
  std::string path = rest.substr(slash + 1);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "pages\\" + host + "\\" + path;
}

// Whether the listing of the file's folder names it: then only a file whose
// contents or date were read needs a file of its own in the image.
bool InListing(const Capture& capture, const std::string& upper) {
  const auto slash = upper.rfind('\\');
  if (slash == std::string::npos) return false;
  const auto folder = capture.paths.find(upper.substr(0, slash == 2 ? 3 : slash));
  return folder != capture.paths.end() && folder->second.listed;
}

void WriteDrives(const Capture& capture, Writer& writer) {
  // Contents held once: a file whose contents another file holds is empty.
  const std::map<std::string, std::string> shared = SharedContents(capture);
  std::set<std::string> filled;  // upper-cased image folders that hold something
  for (const auto& [upper, path] : capture.paths) {
    const std::string target = DrivesPath(path.path);
    if (target.empty()) continue;
    const bool file = path.isFile == true || (path.contentAsked && path.content) || path.date;
    if (file && !path.contentAsked && !path.dateAsked && InListing(capture, upper)) continue;
    if (file) {
      const bool held = path.contentAsked && path.content && shared.count(upper) == 0;
      writer.File(target, held ? std::string_view(*path.content) : std::string_view());
    } else if (path.isFolder == true || path.listed || path.subFoldersListed) {
      writer.Folder(target);
    } else {
      continue;
    }
    for (auto slash = target.rfind('\\'); slash != std::string::npos; slash = target.rfind('\\', slash - 1)) {
      filled.insert(ToUpper(target.substr(0, slash)));
      if (slash == 0) break;
    }
  }
  // git keeps no empty folder: ".keep" stands for one.
  for (const auto& [upper, path] : capture.paths) {
    const std::string target = DrivesPath(path.path);
    const bool folder = path.isFolder == true || path.listed || path.subFoldersListed;
    if (!target.empty() && folder && path.isFile != true && filled.count(ToUpper(target)) == 0) {
      writer.File(target + "\\.keep", {});
    }
  }
}

}  // namespace

std::string WriteCaptureImage(const Capture& capture, platform::FileSystem& files, const std::string& folder) {
  try {
    Writer writer(files, folder.empty() || folder.back() == '\\' ? folder : folder + "\\");
    writer.File("registry\\capture.reg", RegistryText(capture));
    writer.File("answers.txt", AnswersText(capture));
    if (!capture.versions.empty()) writer.File("versions.txt", VersionsText(capture));
    for (const auto& [name, output] : capture.programOutputs) writer.File("programs\\" + name, output);
    for (const CapturedPage& page : capture.pages) {
      const std::string target = PagePath(page.url);
      if (page.openError == 0 && !target.empty()) writer.File(target, page.keptBody.value_or(page.body));
    }
    WriteDrives(capture, writer);
    // image.ini comes last: a folder without it is no image, so an image
    // cut short by a failure is never replayed as if it were whole.
    writer.File("image.ini", ImageIniText(capture));
    return writer.Failure();
  } catch (const std::exception& e) {
    return std::string("cannot write the server image: ") + e.what();
  }
}

}  // namespace fernwick::recording
