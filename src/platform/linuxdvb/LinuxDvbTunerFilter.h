#pragma once
// The tuner filter of a Linux DVB frontend: tunes the frontend when the
// network provider commits, and streams what the adapter's dvr device
// delivers through a full-TS demux filter.
#include <mutex>
#include <string>

#include "platform/bda/TunerFilter.h"
#include "platform/linuxdvb/DvrReader.h"
#include "platform/linuxdvb/FrontendEnumeration.h"

class CLinuxDvbTunerFilter : public CBdaTunerFilter {
 public:
  static constexpr size_t kSampleBytes = 188 * 348;

  explicit CLinuxDvbTunerFilter(LinuxDvbFrontend frontend);
  virtual ~CLinuxDvbTunerFilter();

  const LinuxDvbFrontend& Frontend() const { return m_frontend; }
  SignalStatus Signal() override;
  // Stops streaming and closes the demux filter and the dvr device.
  HRESULT Stop() override;
  // Times the driver's buffer overflowed since the filter was created.
  uint64_t Overflows() const { return m_dvr.Overflows(); }

  // Opens the frontend at `path` (the moniker name) and creates its filter.
  static HRESULT Create(const std::string& path, IUnknown** filter);

 protected:
  HRESULT Tune(const TunerSettings& settings) override;
  void OnStreamingStarts() override;
  HRESULT FillBuffer(IMediaSample* sample) override;
  void WakeStreaming() override { m_dvr.Wake(); }

 private:
  // The path of the adapter's `kind` device ("demux", "dvr") for this frontend.
  std::string DevicePath(const char* kind) const;

  const LinuxDvbFrontend m_frontend;
  FrontendIo& m_io;
  std::mutex m_frontendMutex;
  int m_frontendFd = -1;  // opened by the first tune, kept so the frontend stays powered
  DvrReader m_dvr;
  std::string m_openError;  // why the stream could not be opened at the last start
};
