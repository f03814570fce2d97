#include "platform/virtualdvb/LoopingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

LoopingFile::~LoopingFile() {
  if (m_fd >= 0) ::close(m_fd);
}

bool LoopingFile::Reopen(std::string& error) {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
  m_passBytes = 0;
  if (m_fd < 0) error = m_path + ": " + std::strerror(errno);
  return m_fd >= 0;
}

bool LoopingFile::Read(uint8_t* buffer, size_t size, std::string& error) {
  if (m_fd < 0 && !Reopen(error)) return false;
  for (size_t done = 0; done < size;) {
    const ssize_t n = ::read(m_fd, buffer + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = m_path + ": " + std::strerror(errno);
      return false;
    }
    if (n == 0) {
      if (m_passBytes == 0) {
        error = m_path + ": the file is empty";
        return false;
      }
      if (!Reopen(error)) return false;
      continue;
    }
    done += static_cast<size_t>(n);
    m_passBytes += static_cast<uint64_t>(n);
  }
  return true;
}
