#pragma once
// The HOST:PORT a server listens on.
#include <optional>
#include <string>

struct ListenAddress {
  std::string host;
  int port = 0;  // 0: any free port
};

// Nothing with `error` set when `text` is not HOST:PORT with a port of 0 to 65535.
std::optional<ListenAddress> ParseListenAddress(const std::string& text, std::string& error);
