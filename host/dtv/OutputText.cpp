#include "OutputText.h"

#include <filesystem>
#include <iostream>

#include "analyze/OutputFile.h"
#include "dtvhost/HostError.h"

void WriteOutputText(const std::string& path, const std::string& text) {
  if (path.empty() || path == "-") {
    std::cout << text;
    return;
  }
  COutputFile file;
  std::string error;
  if (!file.Open(path, error)) throw HostError(error);
  file.Stream() << text;
  if (!file.Commit(error)) throw HostError(error);
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec);
}
