#pragma once
// Reads a file over and over without a seam: the end of one pass is followed
// by the start of the next. The file is opened again for every pass, so one
// that disappeared or became unreadable is noticed.
#include <cstddef>
#include <cstdint>
#include <string>

class LoopingFile {
 public:
  explicit LoopingFile(std::string path) : m_path(std::move(path)) {}
  LoopingFile(const LoopingFile&) = delete;
  LoopingFile& operator=(const LoopingFile&) = delete;
  ~LoopingFile();

  // Fills all `size` bytes; false with `error` set when the file cannot be
  // opened or read, or holds nothing.
  bool Read(uint8_t* buffer, size_t size, std::string& error);

 private:
  bool Reopen(std::string& error);

  const std::string m_path;
  int m_fd = -1;
  uint64_t m_passBytes = 0;  // read in the current pass
};
