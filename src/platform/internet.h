#pragma once
// HTTP downloads, shaped as WinINet offers them: open the internet access
// and a URL through it, then read the body in blocks.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace fernwick::platform {

// Access types of the internet access.
inline constexpr std::uint32_t kInternetOpenTypePreconfig = 0;  // the system's configured proxy settings
inline constexpr std::uint32_t kInternetOpenTypeDirect = 1;     // direct connection, no proxy
// Always fetched from the server, never from the cache.
inline constexpr std::uint32_t kInternetFlagReload = 0x80000000;
// How long connecting, sending and receiving may each take, in
// milliseconds: a host that accepts the connection and never answers fails
// the request after this long instead of holding the window.
inline constexpr std::uint32_t kInternetTimeoutMs = 30000;
// WinINet's "cannot connect" error.
inline constexpr std::uint32_t kInternetErrorCannotConnect = 12029;

// One opened URL; closing it closes the URL handle and the internet handle.
class InternetUrl {
 public:
  virtual ~InternetUrl() = default;
  // Reads up to `maxBytes` of the body; an empty text at its end; nullopt
  // when the read fails (LastError tells why).
  virtual std::optional<std::string> Read(std::size_t maxBytes) = 0;
  virtual std::uint32_t LastError() const = 0;
};

class Internet {
 public:
  virtual ~Internet() = default;
  // InternetOpen(agent, accessType, no proxy, no bypass, no flags), its
  // connect, send and receive time-outs set to kInternetTimeoutMs, then
  // what InternetOpenUrl(url, no headers, flags) does. nullptr when a step
  // fails, with the platform's error code in `error`.
  virtual std::unique_ptr<InternetUrl> OpenUrl(const std::string& agent, std::uint32_t accessType,
                                               const std::string& url, std::uint32_t flags, std::uint32_t& error) = 0;
};

}  // namespace fernwick::platform
