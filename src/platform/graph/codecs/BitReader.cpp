#include "platform/graph/codecs/BitReader.h"

uint32_t BitReader::Bits(int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) {
    uint32_t bit = 0;
    if (m_bit < m_size * 8)
      bit = (m_data[m_bit / 8] >> (7 - m_bit % 8)) & 1;
    else
      m_overrun = true;
    ++m_bit;
    value = value << 1 | bit;
  }
  return value;
}

void BitReader::Skip(size_t count) {
  m_bit += count;
  if (m_bit > m_size * 8) m_overrun = true;
}

uint32_t BitReader::Ue() {
  int zeros = 0;
  while (!Flag()) {
    if (++zeros > 31 || m_overrun) {
      m_overrun = true;
      return 0;
    }
  }
  return ((1u << zeros) - 1) + Bits(zeros);
}

int32_t BitReader::Se() {
  const uint32_t code = Ue();
  const int32_t magnitude = static_cast<int32_t>((code + 1) / 2);
  return code & 1 ? magnitude : -magnitude;
}

std::vector<uint8_t> RbspOf(const uint8_t* nal, size_t size) {
  std::vector<uint8_t> rbsp;
  rbsp.reserve(size);
  int zeros = 0;
  for (size_t i = 0; i < size; ++i) {
    if (zeros >= 2 && nal[i] == 0x03) {
      zeros = 0;
      continue;
    }
    zeros = nal[i] == 0 ? zeros + 1 : 0;
    rbsp.push_back(nal[i]);
  }
  return rbsp;
}
