#include "live/StreamReceiver.h"

CStreamReceiver::CStreamReceiver(int fd, std::string name, std::optional<double> seconds)
    : m_writer(fd, std::move(name)), m_seconds(seconds) {}

HRESULT CStreamReceiver::OnData(const uint8_t* data, LONG size) {
  if (!data || size <= 0 || m_done.IsSet()) return S_OK;
  std::lock_guard lock(m_mutex);
  bool reached = false;
  const bool written = m_writer.Write(data, static_cast<size_t>(size), [&](const uint8_t* packet) {
    m_clock.OnPacket(packet);
    if (m_seconds && m_clock.Seconds() >= *m_seconds) reached = true;
  });
  if (!written || reached) m_done.Set();
  return S_OK;
}

uint64_t CStreamReceiver::BytesWritten() const {
  std::lock_guard lock(m_mutex);
  return m_writer.BytesWritten();
}

double CStreamReceiver::StreamSeconds() const {
  std::lock_guard lock(m_mutex);
  return m_clock.Seconds();
}

bool CStreamReceiver::HasStreamTime() const {
  std::lock_guard lock(m_mutex);
  return m_clock.HasPcr();
}

std::string CStreamReceiver::Error() const {
  std::lock_guard lock(m_mutex);
  return m_writer.Error();
}
