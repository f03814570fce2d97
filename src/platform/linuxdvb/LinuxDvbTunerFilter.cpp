#include "platform/linuxdvb/LinuxDvbTunerFilter.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "logging/LogFile.h"
#include "platform/com/Utf.h"
#include "platform/linuxdvb/FrontendSignal.h"
#include "platform/linuxdvb/FrontendTuning.h"

CLinuxDvbTunerFilter::CLinuxDvbTunerFilter(LinuxDvbFrontend frontend)
    : CBdaTunerFilter(Utf8ToUtf16(frontend.name), frontend.systems, kSampleBytes),
      m_frontend(std::move(frontend)),
      m_io(CurrentFrontendIo()),
      m_dvr(m_io) {}

CLinuxDvbTunerFilter::~CLinuxDvbTunerFilter() {
  StopStreaming();
  m_dvr.Close();
  if (m_frontendFd >= 0) m_io.Close(m_frontendFd);
}

HRESULT CLinuxDvbTunerFilter::Create(const std::string& path, IUnknown** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  auto frontend = QueryFrontend(path, CurrentFrontendIo());
  if (!frontend) return E_FAIL;
  return ComObject<CLinuxDvbTunerFilter>::CreateAndQuery(filter, std::move(*frontend));
}

std::string CLinuxDvbTunerFilter::DevicePath(const char* kind) const {
  const std::filesystem::path frontend(m_frontend.path);
  return (frontend.parent_path() / (kind + std::to_string(m_frontend.frontend))).string();
}

HRESULT CLinuxDvbTunerFilter::Tune(const TunerSettings& settings) {
  std::lock_guard lock(m_frontendMutex);
  if (m_frontendFd < 0) {
    m_frontendFd = m_io.Open(m_frontend.path, O_RDWR | O_NONBLOCK);
    if (m_frontendFd < 0) {
      log(1, "DVB frontend %s could not be opened for tuning: %s", m_frontend.path.c_str(), std::strerror(errno));
      return E_FAIL;
    }
  }
  std::string error;
  if (TuneFrontend(m_io, m_frontendFd, settings, m_frontend.systems, error) != 0) {
    log(1, "DVB frontend %s: tuning to %u kHz failed: %s", m_frontend.path.c_str(),
        static_cast<unsigned>(settings.frequencyKHz), error.c_str());
    return E_FAIL;
  }
  ChangeSource();  // what was read before belongs to the old multiplex
  return S_OK;
}

SignalStatus CLinuxDvbTunerFilter::Signal() {
  std::lock_guard lock(m_frontendMutex);
  return m_frontendFd < 0 ? SignalStatus{} : ReadFrontendSignal(m_io, m_frontendFd);
}

HRESULT CLinuxDvbTunerFilter::Stop() {
  const HRESULT hr = CBdaTunerFilter::Stop();
  m_dvr.Close();
  return hr;
}

void CLinuxDvbTunerFilter::OnStreamingStarts() {
  m_openError.clear();
  if (!m_dvr.Open(DevicePath("demux"), DevicePath("dvr"), m_openError))
    log(1, "DVB adapter of %s: no transport stream: %s", m_frontend.path.c_str(), m_openError.c_str());
}

HRESULT CLinuxDvbTunerFilter::FillBuffer(IMediaSample* sample) {
  if (!m_openError.empty()) return E_FAIL;
  uint8_t* buffer = nullptr;
  sample->GetPointer(&buffer);
  size_t size = 0;
  std::string error;
  switch (m_dvr.Read(buffer, static_cast<size_t>(sample->GetSize()), size, error)) {
    case DvrReader::Result::Data: sample->SetActualDataLength(static_cast<LONG>(size)); return S_OK;
    case DvrReader::Result::Nothing: return S_OK;
    case DvrReader::Result::End: m_dvr.Close(); return S_FALSE;
    case DvrReader::Result::Error: break;
  }
  log(1, "DVB adapter of %s: the stream ends: %s", m_frontend.path.c_str(), error.c_str());
  m_dvr.Close();
  return E_FAIL;
}
