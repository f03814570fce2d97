#pragma once
// Bounds-checked big-endian reader over section bytes, read where they lie
// (the caller keeps them alive while reading).
// Every read throws CPsiStreamException when too few bytes remain.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "psi/ts/PsiStreamException.h"

class CPsiStream {
 public:
  CPsiStream(const uint8_t* data, size_t length);

  void Skip(size_t count);
  uint8_t ReadUInt8();
  uint16_t ReadUInt16();
  uint32_t ReadUInt32();
  // Copies count bytes into buffer; nothing is read when buffer is null or count is 0.
  void Read(uint8_t* buffer, size_t count);
  std::vector<uint8_t> ReadVector(size_t count);
  // The next count bytes where they lie.
  const uint8_t* ReadBytes(size_t count) { return Take(count); }
  // A reader over the next count bytes, which this reader skips.
  CPsiStream ReadSub(size_t count);

  size_t Position() const { return m_nPosition; }
  size_t Remaining() const { return m_nLength - m_nPosition; }

 private:
  const uint8_t* Take(size_t count);

  const uint8_t* m_pData;
  size_t m_nLength;
  size_t m_nPosition = 0;
};
