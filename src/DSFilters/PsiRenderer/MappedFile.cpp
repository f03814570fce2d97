#include "DSFilters/PsiRenderer/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CMappedFile::~CMappedFile() {
  if (m_pData) munmap(const_cast<uint8_t*>(m_pData), m_nSize);
}

bool CMappedFile::Open(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "cannot read " + path + ": not a regular file";
    ::close(fd);
    return false;
  }
  m_nSize = static_cast<size_t>(info.st_size);
  if (m_nSize > 0) {
    void* data = mmap(nullptr, m_nSize, PROT_READ, MAP_PRIVATE, fd, 0);
    if (data == MAP_FAILED) {
      error = "cannot map " + path + ": " + std::strerror(errno);
      m_nSize = 0;
      ::close(fd);
      return false;
    }
    madvise(data, m_nSize, MADV_SEQUENTIAL);
    m_pData = static_cast<const uint8_t*>(data);
  }
  ::close(fd);
  return true;
}
