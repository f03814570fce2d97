#include "platform/graph/NullAudioRenderer.h"

namespace {
constexpr LONG kSilence = -10000;
constexpr LONG kFullRight = 10000;
}  // namespace

HRESULT CNullAudioRenderer::put_Volume(LONG volume) {
  if (volume < kSilence || volume > 0) return E_INVALIDARG;
  m_volume = volume;
  return S_OK;
}

HRESULT CNullAudioRenderer::get_Volume(LONG* volume) {
  if (!volume) return E_POINTER;
  *volume = m_volume;
  return S_OK;
}

HRESULT CNullAudioRenderer::put_Balance(LONG balance) {
  if (balance < -kFullRight || balance > kFullRight) return E_INVALIDARG;
  m_balance = balance;
  return S_OK;
}

HRESULT CNullAudioRenderer::get_Balance(LONG* balance) {
  if (!balance) return E_POINTER;
  *balance = m_balance;
  return S_OK;
}
