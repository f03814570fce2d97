#pragma once
// Where the bytes of a transport stream come from, one bounded chunk at a time,
// so that no reader ever needs the whole input in memory.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

class IByteSource {
 public:
  virtual ~IByteSource() = default;
  // Fills the front of buffer and returns how many bytes it got: 0 at the end
  // of the input, or on failure with Error() telling why.
  virtual size_t Read(std::span<uint8_t> buffer) = 0;
  virtual const std::string& Error() const = 0;
};

// Bytes that are already in memory.
class CMemoryByteSource : public IByteSource {
 public:
  explicit CMemoryByteSource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  size_t Read(std::span<uint8_t> buffer) override {
    const size_t count = std::min(buffer.size(), m_bytes.size() - m_nPosition);
    if (count != 0) std::memcpy(buffer.data(), m_bytes.data() + m_nPosition, count);
    m_nPosition += count;
    return count;
  }
  const std::string& Error() const override { return m_error; }

 private:
  std::span<const uint8_t> m_bytes;
  size_t m_nPosition = 0;
  const std::string m_error;
};
