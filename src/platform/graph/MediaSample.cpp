#include "platform/graph/MediaSample.h"

HRESULT CMediaSample::GetPointer(uint8_t** buffer) {
  if (!buffer) return E_POINTER;
  *buffer = m_buffer.data();
  return S_OK;
}

HRESULT CMediaSample::SetActualDataLength(LONG length) {
  if (length < 0 || static_cast<size_t>(length) > m_buffer.size()) return E_INVALIDARG;
  m_length = length;
  return S_OK;
}
