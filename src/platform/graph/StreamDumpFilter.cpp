#include "platform/graph/StreamDumpFilter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "logging/LogFile.h"
#include "platform/os/UserDirectories.h"

CStreamDumpFilter::CStreamDumpFilter(std::string path)
    : CTransInPlaceFilter(u"VTest", CLSID_StreamDumpFilter), m_path(std::move(path)) {}

CStreamDumpFilter::~CStreamDumpFilter() { CloseFile(); }

std::string CStreamDumpFilter::DefaultPath() {
  const std::string dir = UserCacheDirectory();
  return (dir.empty() ? std::string("/tmp") : dir) + "/VexaStreamDump.ts";
}

void CStreamDumpFilter::OpenIfStopped() {
  if (m_state != State_Stopped || m_fd >= 0) return;
  // A predictable name: never follow a link planted there.
  m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (m_fd < 0) log(1, "Stream dump %s could not be opened: %s", m_path.c_str(), std::strerror(errno));
  m_reportedFailure = false;
}

void CStreamDumpFilter::CloseFile() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

HRESULT CStreamDumpFilter::Stop() {
  AutoLock lock(m_lock);
  CloseFile();
  return CTransInPlaceFilter::Stop();
}

HRESULT CStreamDumpFilter::Pause() {
  AutoLock lock(m_lock);
  OpenIfStopped();
  return CTransInPlaceFilter::Pause();
}

HRESULT CStreamDumpFilter::Run(int64_t start) {
  AutoLock lock(m_lock);
  OpenIfStopped();
  return CTransInPlaceFilter::Run(start);
}

HRESULT CStreamDumpFilter::Transform(IMediaSample* sample) {
  uint8_t* data = nullptr;
  const LONG length = sample->GetActualDataLength();
  if (FAILED(sample->GetPointer(&data)) || length <= 0) return S_OK;
  AutoLock lock(m_lock);
  if (m_fd < 0) return S_OK;
  for (LONG done = 0; done < length;) {
    const ssize_t n = ::write(m_fd, data + done, static_cast<size_t>(length - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // The copy is lost, the stream is not: it passes on regardless.
      if (!m_reportedFailure) log(1, "Stream dump %s: write failed: %s", m_path.c_str(), std::strerror(errno));
      m_reportedFailure = true;
      break;
    }
    done += static_cast<LONG>(n);
  }
  return S_OK;
}
