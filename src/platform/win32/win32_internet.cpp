#include "platform/win32/win32_internet.h"

#include "platform/win32/win32_handles.h"

namespace fernwick::win32 {

namespace {

class Win32InternetUrl : public platform::InternetUrl {
 public:
  Win32InternetUrl(UniqueInternetHandle session, UniqueInternetHandle connection, UniqueInternetHandle url)
      : session_(std::move(session)), connection_(std::move(connection)), url_(std::move(url)) {}

  std::optional<std::string> Read(std::size_t maxBytes) override {
    std::string block(maxBytes, '\0');
    DWORD got = 0;
    if (InternetReadFile(url_.Get(), block.data(), static_cast<DWORD>(maxBytes), &got) == FALSE) {
      lastError_ = GetLastError();
      return std::nullopt;
    }
    block.resize(got);
    return block;
  }
  std::uint32_t LastError() const override { return lastError_; }

 private:
  // Members go in reverse order: the URL handle closes before the handles it came from.
  UniqueInternetHandle session_;
  UniqueInternetHandle connection_;
  UniqueInternetHandle url_;
  std::uint32_t lastError_ = 0;
};

void SetTimeouts(HINTERNET handle) {
  const DWORD timeouts[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                            INTERNET_OPTION_RECEIVE_TIMEOUT};
  for (const DWORD option : timeouts) {
    DWORD timeout = platform::kInternetTimeoutMs;
    InternetSetOptionA(handle, option, &timeout, sizeof timeout);
  }
}

}  // namespace

std::unique_ptr<platform::InternetUrl> Win32Internet::OpenUrl(const std::string& agent, std::uint32_t accessType,
                                                              const std::string& url, std::uint32_t flags,
                                                              std::uint32_t& error) {
  error = 0;
  UniqueInternetHandle session(InternetOpenA(agent.c_str(), accessType, nullptr, nullptr, 0));
  if (!session) {
    error = GetLastError();
    return nullptr;
  }
  SetTimeouts(session.Get());
  // An http URL is requested step by step, as InternetOpenUrl does it, so
  // that the request itself carries the time-outs too: Wine's WinINet takes
  // the send and receive time-outs only there. Any other URL goes to
  // InternetOpenUrl.
  char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  std::string path(url.size() + 1, '\0');
  std::string extra(url.size() + 1, '\0');
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path.data();
  parts.dwUrlPathLength = static_cast<DWORD>(path.size());
  parts.lpszExtraInfo = extra.data();
  parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
  const bool http = InternetCrackUrlA(url.c_str(), 0, 0, &parts) != FALSE &&
                    (parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS);
  if (!http) {
    UniqueInternetHandle opened(InternetOpenUrlA(session.Get(), url.c_str(), nullptr, 0, flags, 0));
    if (!opened) {
      error = GetLastError();
      return nullptr;
    }
    return std::make_unique<Win32InternetUrl>(std::move(session), UniqueInternetHandle(), std::move(opened));
  }
  UniqueInternetHandle connection(
      InternetConnectA(session.Get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) {
    error = GetLastError();
    return nullptr;
  }
  const std::string object = std::string(path.c_str()) + extra.c_str();
  const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
  UniqueInternetHandle request(HttpOpenRequestA(connection.Get(), "GET", object.empty() ? "/" : object.c_str(), nullptr,
                                                nullptr, nullptr, flags | secure, 0));
  if (!request) {
    error = GetLastError();
    return nullptr;
  }
  SetTimeouts(request.Get());
  if (HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0) == FALSE) {
    error = GetLastError();
    return nullptr;
  }
  return std::make_unique<Win32InternetUrl>(std::move(session), std::move(connection), std::move(request));
}

}  // namespace fernwick::win32
