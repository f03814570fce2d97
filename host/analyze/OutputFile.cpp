#include "analyze/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// The mode a newly created file gets from this process.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

COutputFile::~COutputFile() {
  if (m_pBuffer) m_pBuffer->Close();
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
}

bool COutputFile::Open(const std::string& path, std::string& error) {
  m_name = m_path = path;
  std::filesystem::path target = path;
  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  int fd = -1;
  if (exists && S_ISDIR(info.st_mode)) {
    error = Failed(EISDIR);
    return false;
  }
  if (exists && !S_ISREG(info.st_mode)) {
    fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  } else {
    // Through a symbolic link the file it names is replaced, not the link.
    std::error_code ec;
    if (exists) target = std::filesystem::canonical(target, ec);
    if (ec) target = path;
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) {
      m_temporary = pattern;
      m_path = target.string();
      ::fchmod(fd, exists ? (info.st_mode & 07777) : NewFileMode());
    }
  }
  if (fd < 0) {
    error = Failed(errno);
    return false;
  }
  m_pBuffer = std::make_unique<CFdStreamBuf>(fd);
  m_pStream = std::make_unique<std::ostream>(m_pBuffer.get());
  return true;
}

bool COutputFile::Commit(std::string& error) {
  m_pStream->flush();
  const bool written = m_pBuffer->Close();
  const int reason = m_pBuffer->Error();
  m_pStream->rdbuf(nullptr);
  m_pBuffer.reset();
  if (!written) {
    error = Failed(reason);
    return false;
  }
  if (!m_temporary.empty()) {
    if (::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
      error = Failed(errno);
      return false;
    }
    m_temporary.clear();
  }
  return true;
}

std::string COutputFile::Failed(int error) const { return "cannot write " + m_name + ": " + std::strerror(error); }
