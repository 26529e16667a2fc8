#include "platform/image/image_internet.h"

#include <fstream>
#include <iterator>
#include <optional>

#include "common/text.h"
#include "platform/image/not_captured.h"

namespace fernwick::image {
namespace fs = std::filesystem;

namespace {

// WinINet's "the URL does not use a recognized protocol".
constexpr std::uint32_t kUnrecognizedScheme = 12006;

constexpr const char* kNotFoundPage =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\r\n"
    "<HTML><HEAD><TITLE>The page cannot be found</TITLE>\r\n"
    "<META HTTP-EQUIV=\"Content-Type\" Content=\"text/html; charset=Windows-1252\">\r\n"
    "</HEAD><BODY><h1>The page cannot be found</h1>\r\n"
    "HTTP Error 404 - File or directory not found.<br>Internet Information Services (IIS)\r\n"
    "</BODY></HTML>\r\n";

std::optional<fs::path> FindEntry(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsNoCase(it->path().filename().string(), name)) return it->path();
  }
  return std::nullopt;
}

class PageBody : public platform::InternetUrl {
 public:
  explicit PageBody(std::string body, std::uint32_t readError = 0) : body_(std::move(body)), readError_(readError) {}
  std::optional<std::string> Read(std::size_t maxBytes) override {
    if (readError_ != 0 && position_ == body_.size()) return std::nullopt;
    const std::string block = body_.substr(position_, maxBytes);
    position_ += block.size();
    return block;
  }
  std::uint32_t LastError() const override { return position_ == body_.size() ? readError_ : 0; }

 private:
  std::string body_;
  std::uint32_t readError_;
  std::size_t position_ = 0;
};

// The file's bytes in one block of their size (a stream's buffer would grow
// by doubling and then be copied: three times the page at once).
std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  std::string content(ec ? 0 : static_cast<std::size_t>(size), '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  content.resize(static_cast<std::size_t>(in.gcount()));
  content.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());  // a file that grew
  return content;
}

}  // namespace

std::unique_ptr<platform::InternetUrl> ImageInternet::OpenUrl(const std::string& /*agent*/,
                                                              std::uint32_t /*accessType*/, const std::string& url,
                                                              std::uint32_t /*flags*/, std::uint32_t& error) {
  error = 0;
  std::uint32_t readError = 0;
  if (recorded_ != nullptr) {
    if (const auto failed = recorded_->pageOpenErrors.find(url); failed != recorded_->pageOpenErrors.end()) {
      error = failed->second;
      return nullptr;
    }
    if (const auto failed = recorded_->pageReadErrors.find(url); failed != recorded_->pageReadErrors.end()) {
      readError = failed->second;
    }
  }
  constexpr std::string_view scheme = "http://";
  if (!StartsWithNoCase(url, scheme)) {
    error = kUnrecognizedScheme;
    return nullptr;
  }
  std::string rest = url.substr(scheme.size());
  if (const auto query = rest.find_first_of("?#"); query != std::string::npos) rest.erase(query);
  const auto slash = rest.find('/');
  std::string host = rest.substr(0, slash);
  if (const auto port = host.find(':'); port != std::string::npos) host.erase(port);
  auto current = FindEntry(imageRoot_ / "pages", host);
  if (!current || host.empty()) {
    if (strict_) throw NotCaptured("web page " + url);
    error = platform::kInternetErrorCannotConnect;
    return nullptr;
  }
  std::string path = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
  std::size_t start = 0;
  while (current && start <= path.size()) {
    const auto end = path.find('/', start);
    const std::string component = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!component.empty()) current = FindEntry(*current, component);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::error_code ec;
  if (!current || !fs::is_regular_file(*current, ec)) {
    if (strict_) throw NotCaptured("web page " + url);
    return std::make_unique<PageBody>(kNotFoundPage);
  }
  return std::make_unique<PageBody>(ReadFile(*current), readError);
}

}  // namespace fernwick::image
