#include "psi/ts/PsiStream.h"

#include <cstring>

CPsiStream::CPsiStream(const uint8_t* data, size_t length) : m_pData(data), m_nLength(data ? length : 0) {}

const uint8_t* CPsiStream::Take(size_t count) {
  if (count > Remaining()) throw CPsiStreamException();
  const uint8_t* p = m_pData + m_nPosition;
  m_nPosition += count;
  return p;
}

void CPsiStream::Skip(size_t count) { Take(count); }

uint8_t CPsiStream::ReadUInt8() { return *Take(1); }

uint16_t CPsiStream::ReadUInt16() {
  const uint8_t* p = Take(2);
  return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

uint32_t CPsiStream::ReadUInt32() {
  const uint8_t* p = Take(4);
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void CPsiStream::Read(uint8_t* buffer, size_t count) {
  if (!buffer || count == 0) return;
  std::memcpy(buffer, Take(count), count);
}

CPsiStream CPsiStream::ReadSub(size_t count) { return CPsiStream(Take(count), count); }

std::vector<uint8_t> CPsiStream::ReadVector(size_t count) {
  const uint8_t* p = Take(count);
  return std::vector<uint8_t>(p, p + count);
}
