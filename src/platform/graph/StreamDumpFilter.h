#pragma once
// "VTest": passes the stream through unchanged and writes a copy of it to a
// file, for diagnostics. The file is (re)written from the start each time the
// filter leaves the stopped state.
#include <string>

#include "platform/com/ComObject.h"
#include "platform/graph/TransInPlaceFilter.h"

constexpr CLSID CLSID_StreamDumpFilter = MakeGuid("{6B8E2E53-4F1D-4B73-9C33-0E5C2B1E7A05}");

class CStreamDumpFilter : public CTransInPlaceFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  // Dumps to `path`; by default "VexaStreamDump.ts" in the user's cache directory.
  explicit CStreamDumpFilter(std::string path = DefaultPath());
  virtual ~CStreamDumpFilter();

  static std::string DefaultPath();
  const std::string& Path() const { return m_path; }

  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT Run(int64_t start) override;
  HRESULT Transform(IMediaSample* sample) override;

 private:
  void OpenIfStopped();
  void CloseFile();

  const std::string m_path;
  int m_fd = -1;              // under m_lock
  bool m_reportedFailure = false;
};
