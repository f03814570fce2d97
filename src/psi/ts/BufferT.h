#pragma once
// Lock-protected growable byte buffer that grows in steps of N bytes.
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

template <uint32_t N>
class CBufferT {
  static_assert(N != 0 && (N & (N - 1)) == 0, "the allocation step must be a power of two");

 public:
  CBufferT() : m_pData(new uint8_t[N]), m_nCapacity(N) {}
  CBufferT(const CBufferT&) = delete;
  CBufferT& operator=(const CBufferT&) = delete;
  virtual ~CBufferT() = default;

  // Drops the content and shrinks the storage back to one step.
  virtual void Reset() {
    std::lock_guard lock(m_lock);
    // Storage of one step is kept as it is: sections reset it after every delivery.
    if (m_nCapacity != N) {
      m_pData.reset(new uint8_t[N]);
      m_nCapacity = N;
    }
    m_nLength = 0;
  }

  void Append(const uint8_t* bytes, uint32_t count) {
    if (count == 0) return;
    std::lock_guard lock(m_lock);
    const uint64_t needed = uint64_t{m_nLength} + count;
    if (needed > m_nCapacity) {
      const uint32_t capacity = static_cast<uint32_t>((needed & ~uint64_t{N - 1}) + N);
      std::unique_ptr<uint8_t[]> grown(new uint8_t[capacity]);
      std::memcpy(grown.get(), m_pData.get(), m_nLength);
      m_pData = std::move(grown);
      m_nCapacity = capacity;
    }
    std::memcpy(m_pData.get() + m_nLength, bytes, count);
    m_nLength += count;
  }

  // Removes count bytes from the front; returns how many were removed.
  uint32_t Consume(uint32_t count) {
    std::lock_guard lock(m_lock);
    if (m_nLength == 0 || count == 0) return 0;
    if (count >= m_nLength) {
      const uint32_t removed = m_nLength;
      m_nLength = 0;
      return removed;
    }
    std::memmove(m_pData.get(), m_pData.get() + count, m_nLength - count);
    m_nLength -= count;
    return count;
  }

  const uint8_t* Data() const {
    std::lock_guard lock(m_lock);
    return m_pData.get();
  }
  uint32_t Length() const {
    std::lock_guard lock(m_lock);
    return m_nLength;
  }
  uint32_t Capacity() const {
    std::lock_guard lock(m_lock);
    return m_nCapacity;
  }

 private:
  mutable std::mutex m_lock;
  std::unique_ptr<uint8_t[]> m_pData;
  uint32_t m_nCapacity;
  uint32_t m_nLength = 0;
};
