#include "platform/os/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CInputFile::~CInputFile() {
  if (m_bOwnsFd && m_fd >= 0) ::close(m_fd);
}

bool CInputFile::Open(const std::string& path) {
  if (path == "-") {
    m_name = "standard input";
    m_fd = STDIN_FILENO;
  } else {
    m_name = path;
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
      Fail("cannot open " + m_name, errno);
      return false;
    }
    m_bOwnsFd = true;
  }
  struct stat info {};
  if (::fstat(m_fd, &info) != 0) {
    Fail("cannot read " + m_name, errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    Fail("cannot read " + m_name, EISDIR);
    return false;
  }
  m_device = info.st_dev;
  m_inode = info.st_ino;
  return true;
}

bool CInputFile::IsSameFile(const std::string& path) const {
  struct stat info {};
  return m_fd >= 0 && ::stat(path.c_str(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode;
}

size_t CInputFile::Read(std::span<uint8_t> buffer) {
  if (m_fd < 0 || buffer.empty() || !m_error.empty()) return 0;
  ssize_t got;
  do got = ::read(m_fd, buffer.data(), buffer.size());
  while (got < 0 && errno == EINTR);
  if (got < 0) {
    Fail("cannot read " + m_name, errno);
    return 0;
  }
  return static_cast<size_t>(got);
}

void CInputFile::Fail(const std::string& what, int error) {
  m_error = what + ": " + std::strerror(error);
}
