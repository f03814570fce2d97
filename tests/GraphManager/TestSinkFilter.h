#pragma once
// A renderer that also answers as a file sink and as a transport stream sink
// control, counting what the graph manager asks of it. It can be told to
// hang when the graph runs.
#include <atomic>
#include <mutex>
#include <string>

#include "platform/graph/FileSink.h"
#include "interfaces/IKxTransportStreamSink.h"
#include "platform/graph/TestFilters.h"
#include "platform/sync/Event.h"

class CTestSinkFilter : public CTestRenderer, public IFileSinkFilter, public IKxTransportStreamSinkControl {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter, IFileSinkFilter, IKxTransportStreamSinkControl>;
  virtual ~CTestSinkFilter() = default;

  HRESULT Run(int64_t start) override {
    if (hangOnRun) Event().Wait(INFINITE);
    return CTestRenderer::Run(start);
  }
  HRESULT SetFileName(const char16_t* name, const AM_MEDIA_TYPE*) override {
    std::lock_guard lock(m_mutex);
    m_fileName = name;
    return S_OK;
  }
  HRESULT GetCurFile(std::u16string* name, AM_MEDIA_TYPE*) override {
    if (!name) return E_POINTER;
    std::lock_guard lock(m_mutex);
    *name = m_fileName;
    return S_OK;
  }
  HRESULT SetCallback(ITransportStreamSinkCallback*) override { return S_OK; }
  HRESULT StopDeliver() override {
    ++stops;
    return S_OK;
  }
  HRESULT StartDeliver() override {
    ++starts;
    return S_OK;
  }
  HRESULT EnableSink(VARIANT_BOOL) override { return S_OK; }
  HRESULT ClearBuffers() override { return S_OK; }
  HRESULT EnableBlockingMode(VARIANT_BOOL) override { return S_OK; }

  std::u16string FileName() const {
    std::lock_guard lock(m_mutex);
    return m_fileName;
  }

  std::atomic<bool> hangOnRun{false};
  std::atomic<int> starts{0};
  std::atomic<int> stops{0};

 private:
  mutable std::mutex m_mutex;
  std::u16string m_fileName;
};
