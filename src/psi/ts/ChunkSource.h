#pragma once
// Where the bytes of a recording come from: one bounded chunk after another,
// an empty chunk at the end. A chunk stays valid until the next call.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

class IChunkSource {
 public:
  virtual ~IChunkSource() = default;
  virtual std::span<const uint8_t> NextChunk() = 0;
};

// The chunks of bytes held in memory (a buffer or a mapped file).
class CMemoryChunkSource : public IChunkSource {
 public:
  static constexpr size_t kDefaultChunk = 1 << 20;

  explicit CMemoryChunkSource(std::span<const uint8_t> bytes, size_t chunkSize = kDefaultChunk)
      : m_Bytes(bytes), m_nChunk(std::max<size_t>(chunkSize, 1)) {}

  std::span<const uint8_t> NextChunk() override {
    const size_t count = std::min(m_nChunk, m_Bytes.size() - m_nOffset);
    const std::span<const uint8_t> chunk = m_Bytes.subspan(m_nOffset, count);
    m_nOffset += count;
    return chunk;
  }

 private:
  const std::span<const uint8_t> m_Bytes;
  const size_t m_nChunk;
  size_t m_nOffset = 0;
};
