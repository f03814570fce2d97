#include "platform/graph/FileWriterFilter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
std::string PartialName(const std::string& path) { return path + ".part"; }
}  // namespace

CFileWriterFilter::CFileWriterFilter() : CBaseFilter(u"File writer", CLSID_FileWriter), m_input(this) {}

CFileWriterFilter::~CFileWriterFilter() { Close(); }

HRESULT CFileWriterFilter::SetFileName(const char16_t* fileName, const AM_MEDIA_TYPE* type) {
  if (!fileName) return E_POINTER;
  if (!*fileName) return E_INVALIDARG;
  if (State() != State_Stopped) return VFW_E_WRONG_STATE;
  std::lock_guard lock(m_fileMutex);
  m_path = Utf16ToUtf8(fileName);
  m_type = type ? *type : AM_MEDIA_TYPE{};
  return S_OK;
}

HRESULT CFileWriterFilter::GetCurFile(std::u16string* fileName, AM_MEDIA_TYPE* type) {
  if (!fileName) return E_POINTER;
  std::lock_guard lock(m_fileMutex);
  if (m_path.empty()) return E_FAIL;
  *fileName = Utf8ToUtf16(m_path);
  if (type) *type = m_type;
  return S_OK;
}

uint64_t CFileWriterFilter::BytesWritten() const {
  std::lock_guard lock(m_fileMutex);
  return m_written;
}

HRESULT CFileWriterFilter::Pause() {
  const HRESULT hr = Open();
  return FAILED(hr) ? hr : CBaseFilter::Pause();
}

HRESULT CFileWriterFilter::Run(int64_t start) {
  const HRESULT hr = Open();
  return FAILED(hr) ? hr : CBaseFilter::Run(start);
}

HRESULT CFileWriterFilter::Stop() {
  const HRESULT hr = CBaseFilter::Stop();
  Close();
  return hr;
}

HRESULT CFileWriterFilter::Open() {
  std::lock_guard lock(m_fileMutex);
  if (m_fd >= 0) return S_OK;
  if (m_path.empty()) return E_UNEXPECTED;
  m_fd = ::open(PartialName(m_path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (m_fd < 0) {
    log(1, "File writer: cannot create %s: %s", PartialName(m_path).c_str(), std::strerror(errno));
    return E_FAIL;
  }
  m_written = 0;
  m_failed = false;
  return S_OK;
}

HRESULT CFileWriterFilter::Write(IMediaSample* sample) {
  uint8_t* data = nullptr;
  sample->GetPointer(&data);
  const size_t length = static_cast<size_t>(sample->GetActualDataLength());
  std::lock_guard lock(m_fileMutex);
  if (m_fd < 0 || m_failed) return S_FALSE;
  for (size_t done = 0; done < length;) {
    const ssize_t n = ::write(m_fd, data + done, length - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      log(1, "File writer: writing %s failed: %s", PartialName(m_path).c_str(), std::strerror(errno));
      m_failed = true;
      return E_FAIL;
    }
    done += static_cast<size_t>(n);
    m_written += static_cast<uint64_t>(n);
  }
  return S_OK;
}

bool CFileWriterFilter::Close() {
  std::lock_guard lock(m_fileMutex);
  if (m_fd < 0) return true;
  bool ok = ::fsync(m_fd) == 0 || errno == EINVAL;
  ok = ::close(m_fd) == 0 && ok;
  m_fd = -1;
  const std::string partial = PartialName(m_path);
  if (!ok || m_failed) {
    log(1, "File writer: %s is incomplete and left as %s", m_path.c_str(), partial.c_str());
    return false;
  }
  if (std::rename(partial.c_str(), m_path.c_str()) != 0) {
    log(1, "File writer: cannot rename %s to %s: %s", partial.c_str(), m_path.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}

HRESULT CFileWriterFilter::InputPin::Receive(IMediaSample* sample) {
  const HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  const HRESULT written = m_owner->Write(sample);
  if (FAILED(written)) m_owner->NotifyEvent(EC_ERRORABORT, written, 0);
  return written;
}

HRESULT CFileWriterFilter::InputPin::EndOfStream() {
  const HRESULT hr = CBaseInputPin::EndOfStream();
  if (hr != S_OK) return hr;
  const bool complete = m_owner->Close();
  m_owner->NotifyEvent(complete ? EC_COMPLETE : EC_ERRORABORT, complete ? S_OK : E_FAIL, 0);
  return S_OK;
}
