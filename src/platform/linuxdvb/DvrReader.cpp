#include "platform/linuxdvb/DvrReader.h"

#include <fcntl.h>
#include <linux/dvb/dmx.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "logging/LogFile.h"

namespace {
// The PID that stands for all PIDs in a PES filter.
constexpr uint16_t kAllPids = 0x2000;
}  // namespace

DvrReader::DvrReader(FrontendIo& io) : m_io(io), m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

DvrReader::~DvrReader() {
  Close();
  if (m_wake >= 0) ::close(m_wake);
}

bool DvrReader::Open(const std::string& demuxPath, const std::string& dvrPath, std::string& error) {
  Close();
  uint64_t stale = 0;
  if (m_wake < 0) {
    error = std::string("eventfd: ") + std::strerror(errno);
    return false;
  }
  while (::read(m_wake, &stale, sizeof stale) > 0) {
  }
  m_demux = m_io.Open(demuxPath, O_RDWR | O_NONBLOCK);
  if (m_demux < 0) {
    error = demuxPath + ": " + std::strerror(errno);
    return false;
  }
  dmx_pes_filter_params filter{};
  filter.pid = kAllPids;
  filter.input = DMX_IN_FRONTEND;
  filter.output = DMX_OUT_TS_TAP;
  filter.pes_type = DMX_PES_OTHER;
  filter.flags = DMX_IMMEDIATE_START;
  if (m_io.Ioctl(m_demux, DMX_SET_PES_FILTER, &filter) != 0) {
    error = demuxPath + ": DMX_SET_PES_FILTER: " + std::strerror(errno);
    Close();
    return false;
  }
  m_dvr = m_io.Open(dvrPath, O_RDONLY | O_NONBLOCK);
  if (m_dvr < 0) {
    error = dvrPath + ": " + std::strerror(errno);
    Close();
    return false;
  }
  return true;
}

void DvrReader::Close() {
  if (m_dvr >= 0) m_io.Close(m_dvr);
  if (m_demux >= 0) m_io.Close(m_demux);
  m_dvr = m_demux = -1;
}

void DvrReader::Wake() {
  const uint64_t one = 1;
  if (m_wake >= 0) [[maybe_unused]] ssize_t n = ::write(m_wake, &one, sizeof one);
}

DvrReader::Result DvrReader::Read(uint8_t* buffer, size_t capacity, size_t& size, std::string& error) {
  size = 0;
  pollfd fds[2] = {{m_dvr, POLLIN, 0}, {m_wake, POLLIN, 0}};
  if (m_io.Poll(fds, 2, -1) < 0) {
    if (errno == EINTR) return Result::Nothing;
    error = std::string("poll: ") + std::strerror(errno);
    return Result::Error;
  }
  if (fds[1].revents & POLLIN) {
    uint64_t count = 0;
    [[maybe_unused]] ssize_t n = ::read(m_wake, &count, sizeof count);
    return Result::Nothing;
  }
  const ssize_t n = m_io.Read(m_dvr, buffer, capacity);
  if (n > 0) {
    size = static_cast<size_t>(n);
    return Result::Data;
  }
  if (n == 0) return Result::End;
  if (errno == EOVERFLOW) {
    // The driver's buffer ran over: packets were lost, the stream goes on.
    const uint64_t count = ++m_overflows;
    log(1, "DVB dvr: buffer overflow, packets lost (%llu so far)", static_cast<unsigned long long>(count));
    return Result::Nothing;
  }
  if (errno == EAGAIN || errno == EINTR) return Result::Nothing;
  error = std::string("dvr read: ") + std::strerror(errno);
  return Result::Error;
}
