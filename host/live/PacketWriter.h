#pragma once
// The transport stream as it leaves dtv: bytes the sink hands over in any
// cut, written as whole 188-byte packets from the first packet sync on, so
// that a recording stopped at any moment ends on a packet boundary.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class PacketWriter {
 public:
  // `fd` stays open; `name` is for messages.
  PacketWriter(int fd, std::string name);

  // Hands each whole packet to `onPacket` before it is written; false once a
  // write failed (then nothing more is written).
  bool Write(const uint8_t* data, size_t size, const std::function<void(const uint8_t*)>& onPacket);
  uint64_t BytesWritten() const { return m_written; }
  // Empty while writes succeed; a reader that went away (EPIPE) leaves it empty too.
  const std::string& Error() const { return m_error; }
  bool Failed() const { return m_failed; }

  static constexpr size_t kPacketSize = 188;

 private:
  // Offset of the first packet start confirmed by the next packet's sync.
  size_t FindSync() const;
  bool WriteAll(const uint8_t* data, size_t size);

  int m_fd;
  std::string m_name;
  std::vector<uint8_t> m_pending;
  bool m_synced = false;
  bool m_failed = false;
  uint64_t m_written = 0;
  std::string m_error;
};
