#pragma once
// Tells whether a stream is present: samples arrived within the last 2.5 s.
#include <atomic>
#include <cstdint>

#include "DSFilters/PsiRenderer/engine/PsiReaderSimpleThread.h"

class CStreamObserver : public CPsiReaderSimpleThread {
 public:
  CStreamObserver();
  ~CStreamObserver() override { Stop(); }

  void OnSample(uint32_t tickCount) { m_nLastSampleTime = tickCount; }
  bool StreamPresent() const { return m_nStreamPresent.load() != 0; }

 protected:
  void ThreadProc() override;

 private:
  std::atomic<uint32_t> m_nLastSampleTime{0};
  std::atomic<int32_t> m_nStreamPresent{0};
};
