#pragma once
// Reads bits most significant first, with the exponential-Golomb codes of the
// video parameter sets. Reading past the end yields zeros and sets Overrun,
// so a truncated header is told by one check at the end.
#include <cstddef>
#include <cstdint>
#include <vector>

class BitReader {
 public:
  BitReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  uint32_t Bits(int count);
  bool Flag() { return Bits(1) != 0; }
  void Skip(size_t count);
  uint32_t Ue();
  int32_t Se();
  bool Overrun() const { return m_overrun; }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_bit = 0;
  bool m_overrun = false;
};

// A NAL unit's payload without its emulation-prevention bytes.
std::vector<uint8_t> RbspOf(const uint8_t* nal, size_t size);
