#include "platform/os/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

int OpenSpool() {
  std::error_code ec;
  std::string directory = std::filesystem::temp_directory_path(ec).string();
  if (ec) directory = "/tmp";
  const int fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR)) return fd;
  // A file system without unnamed files: a named one, removed at once.
  std::string pattern = directory + "/dtv-input-XXXXXX";
  const int named = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (named >= 0) ::unlink(pattern.c_str());
  return named;
}

bool WriteAll(int fd, const uint8_t* bytes, size_t count) {
  while (count != 0) {
    const ssize_t written = ::write(fd, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    count -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

CInputFile::~CInputFile() {
  if (m_bOwnsFd && m_fd >= 0) ::close(m_fd);
  if (m_spoolFd >= 0) ::close(m_spoolFd);
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
  m_nStart = ::lseek(m_fd, 0, SEEK_CUR);
  m_bSeekable = S_ISREG(info.st_mode) && m_nStart >= 0;
  return true;
}

bool CInputFile::IsSameFile(const std::string& path) const {
  struct stat info {};
  return m_fd >= 0 && ::stat(path.c_str(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode;
}

size_t CInputFile::Read(std::span<uint8_t> buffer) {
  if (m_fd < 0 || buffer.empty() || !m_error.empty()) return 0;
  if (m_nPosition < m_nSpooled) {
    const size_t count = static_cast<size_t>(std::min<uint64_t>(buffer.size(), m_nSpooled - m_nPosition));
    ssize_t got;
    do got = ::pread(m_spoolFd, buffer.data(), count, static_cast<off_t>(m_nPosition));
    while (got < 0 && errno == EINTR);
    if (got <= 0) {
      Fail("cannot read the temporary copy of " + m_name, got < 0 ? errno : EIO);
      return 0;
    }
    m_nPosition += static_cast<uint64_t>(got);
    return static_cast<size_t>(got);
  }
  const size_t count = ReadInput(buffer);
  if (count != 0 && !m_bSeekable && !Spool(buffer.first(count))) return 0;
  return count;
}

size_t CInputFile::ReadInput(std::span<uint8_t> buffer) {
  ssize_t got;
  do got = ::read(m_fd, buffer.data(), buffer.size());
  while (got < 0 && errno == EINTR);
  if (got < 0) {
    Fail("cannot read " + m_name, errno);
    return 0;
  }
  return static_cast<size_t>(got);
}

bool CInputFile::Spool(std::span<const uint8_t> bytes) {
  if (m_spoolFd < 0) m_spoolFd = OpenSpool();
  if (m_spoolFd < 0 || !WriteAll(m_spoolFd, bytes.data(), bytes.size())) {
    Fail("cannot copy " + m_name + " to a temporary file", errno);
    return false;
  }
  m_nSpooled += bytes.size();
  m_nPosition = m_nSpooled;
  return true;
}

bool CInputFile::Rewind() {
  if (m_fd < 0 || !m_error.empty()) return false;
  if (!m_bSeekable) {
    m_nPosition = 0;
    return true;
  }
  if (::lseek(m_fd, m_nStart, SEEK_SET) < 0) {
    Fail("cannot read " + m_name, errno);
    return false;
  }
  return true;
}

void CInputFile::Fail(const std::string& what, int error) {
  m_error = what + ": " + std::strerror(error);
}
