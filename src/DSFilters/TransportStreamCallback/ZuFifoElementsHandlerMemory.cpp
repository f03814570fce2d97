#include "DSFilters/TransportStreamCallback/ZuFifoElementsHandlerMemory.h"

#include <algorithm>
#include <cstring>

CZuFifoElementsHandlerMemory::CZuFifoElementsHandlerMemory(size_t capacity)
    : m_capacity(capacity), m_pBuffer(new uint8_t[capacity]) {}

uint64_t CZuFifoElementsHandlerMemory::FillCount() const {
  AutoLock lock(m_fillLock);
  return m_fillCount;
}

void CZuFifoElementsHandlerMemory::AddFill(uint64_t bytes) {
  AutoLock lock(m_fillLock);
  m_fillCount += bytes;
}

void CZuFifoElementsHandlerMemory::RemoveFill(uint64_t bytes) {
  AutoLock lock(m_fillLock);
  m_fillCount -= bytes;
}

size_t CZuFifoElementsHandlerMemory::Write(const uint8_t* data, size_t size) {
  AutoLock lock(m_writerLock);
  if (m_bAbort || m_bEndOfData) return 0;
  size_t written = 0;
  while (written < size) {
    const uint64_t free = FreeSpace();
    if (free == 0) break;
    const size_t piece = static_cast<size_t>(std::min<uint64_t>({size - written, m_capacity - m_writePos, free}));
    std::memcpy(m_pBuffer.get() + m_writePos, data + written, piece);
    m_writePos = (m_writePos + piece) % m_capacity;
    written += piece;
    AddFill(piece);
    m_dataAvailable.Set();
  }
  return written;
}

size_t CZuFifoElementsHandlerMemory::Read(uint8_t* buffer, size_t size) {
  AutoLock lock(m_readerLock);
  size_t copied = 0;
  while (copied < size) {
    const uint64_t fill = FillCount();
    if (fill == 0) break;
    const size_t piece = static_cast<size_t>(std::min<uint64_t>({size - copied, m_capacity - m_readPos, fill}));
    std::memcpy(buffer + copied, m_pBuffer.get() + m_readPos, piece);
    m_readPos = (m_readPos + piece) % m_capacity;
    copied += piece;
    RemoveFill(piece);
    m_spaceAvailable.Set();
  }
  return copied;
}

void CZuFifoElementsHandlerMemory::Reset() {
  AutoLock lock(m_readerLock);
  const uint64_t fill = FillCount();
  m_readPos = (m_readPos + fill) % m_capacity;
  RemoveFill(fill);
  m_bAbort = false;
  // A stream that ended may be started again (graph restart).
  m_bEndOfData = false;
  m_dataAvailable.ResetEvent();
  m_spaceAvailable.Set();
}

void CZuFifoElementsHandlerMemory::Abort() {
  m_bAbort = true;
  m_dataAvailable.ResetEvent();
  m_spaceAvailable.Set();
}

void CZuFifoElementsHandlerMemory::Clear() {
  AutoLock reader(m_readerLock);
  AutoLock writer(m_writerLock);
  m_bAbort = true;
  m_dataAvailable.Set();
  m_spaceAvailable.Set();
  Reset();
}

void CZuFifoElementsHandlerMemory::SetEndOfData() {
  AutoLock lock(m_readerLock);
  m_bEndOfData = true;
  m_dataAvailable.Set();
}
