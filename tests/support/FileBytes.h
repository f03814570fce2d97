#pragma once
// The whole content of a file as bytes in a string ("" when it cannot be read).
#include <fstream>
#include <sstream>
#include <string>

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
