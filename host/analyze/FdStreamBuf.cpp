#include "analyze/FdStreamBuf.h"

#include <unistd.h>

#include <cerrno>

bool CFdStreamBuf::Drain() {
  const char* data = pbase();
  size_t count = static_cast<size_t>(pptr() - pbase());
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
  while (count != 0 && m_nError == 0) {
    const ssize_t written = ::write(m_fd, data, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      m_nError = written < 0 ? errno : EIO;
      break;
    }
    data += written;
    count -= static_cast<size_t>(written);
  }
  return m_nError == 0;
}

CFdStreamBuf::int_type CFdStreamBuf::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

int CFdStreamBuf::sync() { return Drain() ? 0 : -1; }

bool CFdStreamBuf::Close() {
  Drain();
  if (m_fd >= 0 && ::close(m_fd) != 0 && m_nError == 0) m_nError = errno;
  m_fd = -1;
  return m_nError == 0;
}
