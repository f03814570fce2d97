#include "live/PacketWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
constexpr uint8_t kSync = 0x47;
}

PacketWriter::PacketWriter(int fd, std::string name) : m_fd(fd), m_name(std::move(name)) {}

size_t PacketWriter::FindSync() const {
  for (size_t at = 0; at + kPacketSize < m_pending.size(); ++at)
    if (m_pending[at] == kSync && m_pending[at + kPacketSize] == kSync) return at;
  return std::string::npos;
}

bool PacketWriter::Write(const uint8_t* data, size_t size, const std::function<void(const uint8_t*)>& onPacket) {
  if (m_failed) return false;
  m_pending.insert(m_pending.end(), data, data + size);
  size_t at = 0;
  std::vector<uint8_t> out;
  while (at + kPacketSize <= m_pending.size()) {
    if (!m_synced || m_pending[at] != kSync) {
      // Lost sync: drop bytes up to the next confirmed packet start.
      m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(at));
      at = 0;
      const size_t sync = FindSync();
      if (sync == std::string::npos) {
        // Keep the tail, where the next sync may begin.
        if (m_pending.size() > kPacketSize)
          m_pending.erase(m_pending.begin(), m_pending.end() - static_cast<std::ptrdiff_t>(kPacketSize));
        m_synced = false;
        return true;
      }
      m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(sync));
      m_synced = true;
      continue;
    }
    if (onPacket) onPacket(m_pending.data() + at);
    out.insert(out.end(), m_pending.begin() + static_cast<std::ptrdiff_t>(at),
               m_pending.begin() + static_cast<std::ptrdiff_t>(at + kPacketSize));
    at += kPacketSize;
  }
  m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(at));
  return WriteAll(out.data(), out.size());
}

bool PacketWriter::WriteAll(const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(m_fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      m_failed = true;
      if (errno != EPIPE) m_error = "cannot write " + m_name + ": " + std::strerror(errno);
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
    m_written += static_cast<uint64_t>(n);
  }
  return true;
}
