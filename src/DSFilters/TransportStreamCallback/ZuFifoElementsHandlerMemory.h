#pragma once
// A byte ring between one writer (the streaming thread) and one reader (the
// sink's worker). Each end has its own lock; the fill count has a third one,
// taken briefly by both. Neither end ever waits: a full ring ends a write, an
// empty ring ends a read. The storage is allocated once.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/sync/Event.h"
#include "platform/sync/RecursiveLock.h"

class CZuFifoElementsHandlerMemory {
 public:
  explicit CZuFifoElementsHandlerMemory(size_t capacity);
  CZuFifoElementsHandlerMemory(const CZuFifoElementsHandlerMemory&) = delete;
  CZuFifoElementsHandlerMemory& operator=(const CZuFifoElementsHandlerMemory&) = delete;

  // Bytes written (what fits); 0 while aborted or after the end of data.
  size_t Write(const uint8_t* data, size_t size);
  // Bytes read, at most `size`.
  size_t Read(uint8_t* buffer, size_t size);
  // Discards the content and clears the abort and end-of-data flags.
  void Reset();
  // Refuses writes and wakes waiters (StopDeliver).
  void Abort();
  // Empties the ring while both ends are held off (a channel switch).
  void Clear();
  void SetEndOfData();

  bool Aborted() const { return m_bAbort.load(); }
  size_t Capacity() const { return m_capacity; }
  uint64_t FillCount() const;
  uint64_t FreeSpace() const { return m_capacity - FillCount(); }
  Event& DataAvailable() { return m_dataAvailable; }
  Event& SpaceAvailable() { return m_spaceAvailable; }

 private:
  void AddFill(uint64_t bytes);
  void RemoveFill(uint64_t bytes);

  const size_t m_capacity;
  std::unique_ptr<uint8_t[]> m_pBuffer;
  uint64_t m_writePos = 0;  // under m_writerLock
  uint64_t m_readPos = 0;   // under m_readerLock
  uint64_t m_fillCount = 0; // under m_fillLock
  RecursiveLock m_writerLock;
  RecursiveLock m_readerLock;
  mutable RecursiveLock m_fillLock;
  Event m_dataAvailable{Event::Reset::Manual};
  Event m_spaceAvailable{Event::Reset::Manual, true};
  std::atomic<bool> m_bAbort{false};
  std::atomic<bool> m_bEndOfData{false};
};
