#pragma once
// Hands out the 188-byte packets of a byte source, whatever the recording
// looks like: it finds the packet size (188; 192 with a 4-byte timecode in
// front of each packet, as in M2TS; 204 with 16 parity bytes behind it),
// drops whatever lies between packets and notes each skipped run, with its
// offset, as a warning. The input is read in bounded chunks, and finding the
// packets again after a loss looks at each byte a bounded number of times.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "psi/ts/ByteSource.h"
#include "psi/ts/ChunkSource.h"

class CTsPacketReader : public IChunkSource {
 public:
  explicit CTsPacketReader(IByteSource& source);

  std::span<const uint8_t> NextChunk() override { return Next(); }

  // The next run of whole 188-byte packets, valid until the next call; empty
  // at the end of the input and on failure (see Error()).
  std::span<const uint8_t> Next();

  // 188, 192 or 204 once packets were found, else 0.
  uint32_t PacketSize() const { return m_nPacketSize; }
  // Why reading stopped early: a read error, or an input without packets.
  const std::string& Error() const { return m_error; }
  // The first skipped runs one by one, the rest summed up in a last line.
  std::vector<std::string> Warnings() const;
  // The bytes of an incomplete packet at the end of the input.
  uint32_t TrailingBytes() const { return m_nTrailingBytes; }

 private:
  bool Fill();
  void Step();
  // Bytes of the in-sync 188-byte packets from m_nBegin on that need no check.
  size_t PlainRun() const;
  void Seek();
  bool IsCut() const;
  bool Locks(size_t unit, uint32_t size, bool atEnd) const;
  void EndOfInput();
  void Skipped(uint64_t from, uint64_t to, const char* reason);
  uint64_t Offset(size_t index) const { return m_nBufferOffset + index; }

  IByteSource& m_source;
  std::unique_ptr<uint8_t[]> m_buffer;
  size_t m_nCapacity;
  size_t m_nBegin = 0;  // first byte not yet handed out or skipped
  size_t m_nEnd = 0;
  uint64_t m_nBufferOffset = 0;  // input offset of m_buffer[0]
  bool m_bEnd = false;
  std::vector<uint8_t> m_packets;

  uint32_t m_nPacketSize = 0;
  bool m_bInSync = false;
  uint64_t m_nSkipFrom = 0;  // where the bytes without sync began
  uint32_t m_nTrailingBytes = 0;

  std::string m_error;
  std::vector<std::string> m_vWarnings;
  uint64_t m_nMoreRuns = 0;  // skipped runs beyond those listed
  uint64_t m_nMoreBytes = 0;
};
