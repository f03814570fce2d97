#pragma once
// A buffer travelling downstream through connected pins.
#include <cstdint>
#include <vector>

#include "platform/com/ComObject.h"

struct IMediaSample : IUnknown {
  DTV_DECLARE_IID("{56A8689A-0AD4-11CE-B03A-0020AF0BA770}");
  virtual HRESULT GetPointer(uint8_t** buffer) = 0;
  virtual LONG GetSize() = 0;
  virtual LONG GetActualDataLength() = 0;
  virtual HRESULT SetActualDataLength(LONG length) = 0;
};

// A sample over a buffer of fixed capacity that a source fills and reuses,
// so that streaming allocates nothing per sample.
class CMediaSample : public IMediaSample {
 public:
  using InterfaceMap = ::InterfaceMap<IMediaSample>;
  explicit CMediaSample(size_t capacity) : m_buffer(capacity) {}

  HRESULT GetPointer(uint8_t** buffer) override;
  LONG GetSize() override { return static_cast<LONG>(m_buffer.size()); }
  LONG GetActualDataLength() override { return m_length; }
  HRESULT SetActualDataLength(LONG length) override;
  virtual ~CMediaSample() = default;

 private:
  std::vector<uint8_t> m_buffer;
  LONG m_length = 0;
};
