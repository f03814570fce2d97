#include "live/ScanListener.h"

#include <charconv>
#include <utility>

#include "platform/com/Utf.h"

HRESULT CScanListener::OnChannelFound(BSTR, IUnknown* channel) {
  ComPtr<IKxChannel> found = QueryAs<IKxChannel>(channel);
  if (!found) return S_OK;
  {
    std::lock_guard lock(m_mutex);
    m_found.push_back({found, m_state.frequencyKHz, m_state.quality, m_state.strength});
    m_state.channels = m_found.size();
  }
  m_changed.Set();
  return S_OK;
}

HRESULT CScanListener::OnSignalStatistic(BSTR, LONG quality, LONG strength) {
  {
    std::lock_guard lock(m_mutex);
    m_state.signalMeasured = true;
    m_state.quality = quality;
    m_state.strength = strength;
  }
  m_changed.Set();
  return S_OK;
}

HRESULT CScanListener::OnProgress(BSTR, LONG percent) {
  {
    std::lock_guard lock(m_mutex);
    m_state.percent = static_cast<int>(percent);
    m_state.stepDone = true;
    m_steps.push_back(m_state);
  }
  m_changed.Set();
  return S_OK;
}

HRESULT CScanListener::OnFinished(BSTR) {
  {
    std::lock_guard lock(m_mutex);
    m_state.finished = true;
  }
  m_finished.Set();
  m_changed.Set();
  return S_OK;
}

HRESULT CScanListener::OnStatusText(BSTR, BSTR text) {
  // The tuner's status is the frequency it tunes next, in kHz.
  const std::string status = text ? Utf16ToUtf8(std::u16string_view(text, SysStringLen(text))) : std::string();
  long frequency = 0;
  const auto [end, error] = std::from_chars(status.data(), status.data() + status.size(), frequency);
  {
    std::lock_guard lock(m_mutex);
    if (error == std::errc() && end == status.data() + status.size()) m_state.frequencyKHz = frequency;
    m_state.signalMeasured = false;
    m_state.stepDone = false;
  }
  m_changed.Set();
  return S_OK;
}

ScanState CScanListener::State() const {
  std::lock_guard lock(m_mutex);
  return m_state;
}

std::vector<ScanState> CScanListener::TakeSteps() {
  std::lock_guard lock(m_mutex);
  return std::exchange(m_steps, {});
}

std::vector<FoundChannel> CScanListener::Found() const {
  std::lock_guard lock(m_mutex);
  return m_found;
}
