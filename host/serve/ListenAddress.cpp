#include "serve/ListenAddress.h"

#include <fmt/format.h>

#include <charconv>

std::optional<ListenAddress> ParseListenAddress(const std::string& text, std::string& error) {
  const size_t colon = text.rfind(':');
  ListenAddress address;
  if (colon != std::string::npos && colon > 0) {
    address.host = text.substr(0, colon);
    // [::1]:8080 names an IPv6 address.
    if (address.host.size() > 2 && address.host.front() == '[' && address.host.back() == ']')
      address.host = address.host.substr(1, address.host.size() - 2);
    const char* first = text.data() + colon + 1;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, address.port);
    if (first != last && ec == std::errc() && end == last && address.port >= 0 && address.port <= 65535)
      return address;
  }
  error = fmt::format("bad listen address '{}': give HOST:PORT, such as 127.0.0.1:8080", text);
  return std::nullopt;
}
