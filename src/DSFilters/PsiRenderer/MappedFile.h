#pragma once
// A whole file mapped read-only: the fastest way to read a recording once.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class CMappedFile {
 public:
  CMappedFile() = default;
  CMappedFile(const CMappedFile&) = delete;
  CMappedFile& operator=(const CMappedFile&) = delete;
  ~CMappedFile();

  // false with error set when the file cannot be opened or mapped. An empty file maps to an empty span.
  bool Open(const std::string& path, std::string& error);
  std::span<const uint8_t> Bytes() const { return {m_pData, m_nSize}; }

 private:
  const uint8_t* m_pData = nullptr;
  size_t m_nSize = 0;
};
