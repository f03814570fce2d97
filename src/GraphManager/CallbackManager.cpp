#include "GraphManager/CallbackManager.h"

#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
const char* TrueFalse(bool value) { return value ? "true" : "false"; }

// The graph events the host hears of; the others are only logged.
bool IsForwardedGraphEvent(LONG code) {
  return code == 2 || code == 3 || code == 6 || code == 7 || code == 8 || code == 69;
}
}  // namespace

template <class Interface>
std::vector<ComPtr<Interface>> CCallbackManager::Registered(LONG type) {
  std::vector<ComPtr<IUnknown>> objects;
  {
    std::lock_guard lock(m_callbackLock);
    const auto it = m_callbacks.find(type);
    if (it != m_callbacks.end())
      for (const Entry& entry : it->second) objects.push_back(entry.callback);
  }
  // Asked at every dispatch: an object that does not offer the interface is skipped.
  std::vector<ComPtr<Interface>> callbacks;
  for (const ComPtr<IUnknown>& object : objects)
    if (ComPtr<Interface> callback = QueryAs<Interface>(object.Get())) callbacks.push_back(callback);
  return callbacks;
}

template <class Matches>
void CCallbackManager::RemoveFirst(Matches matches) {
  ComPtr<IUnknown> removed;  // released after the lock
  std::lock_guard lock(m_callbackLock);
  for (auto& [type, entries] : m_callbacks) {
    for (auto it = entries.begin(); it != entries.end(); ++it) {
      if (!matches(*it)) continue;
      removed = std::move(it->callback);
      entries.erase(it);
      return;
    }
  }
}

HRESULT CCallbackManager::Register(LONG type, IUnknown* callback, LONG* cookie) {
  if (!callback) return E_POINTER;
  if (!IsCallbackTypeSupported(type)) return E_UNEXPECTED;
  std::lock_guard lock(m_callbackLock);
  m_callbacks[type].push_back({0, m_nextCookie, ComPtr<IUnknown>(callback)});
  if (cookie) *cookie = m_nextCookie;
  ++m_nextCookie;
  return S_OK;
}

void CCallbackManager::Unregister(LONG cookie) {
  RemoveFirst([cookie](const Entry& entry) { return entry.cookie == cookie; });
}

void CCallbackManager::UnregisterObject(IUnknown* callback) {
  RemoveFirst([callback](const Entry& entry) { return entry.callback.Get() == callback; });
}

void CCallbackManager::ClearCallbacks() {
  std::map<LONG, std::vector<Entry>> dropped;  // released after the lock
  std::lock_guard lock(m_callbackLock);
  dropped.swap(m_callbacks);
}

void CCallbackManager::FireSignalUpdate(const std::u16string& device, bool locked, LONG quality, LONG strength) {
  log(1, "OnSignalUpdate: %s, Q=%d, S=%d, %s", TrueFalse(locked), quality, strength, Utf16ToUtf8(device).c_str());
  const BStr name(device);
  for (const auto& callback : Registered<IKxSignalCallback>(KxCallbackType_Signal))
    callback->OnSignalUpdate(name.Get(), ToVariantBool(locked), quality, strength);
}

void CCallbackManager::FireScrambledUpdate(const std::u16string& device, bool scrambled) {
  log(1, "OnScrambledUpdate: %s, %s", TrueFalse(scrambled), Utf16ToUtf8(device).c_str());
  const BStr name(device);
  for (const auto& callback : Registered<IKxScrambledCallback>(KxCallbackType_Scrambled))
    callback->OnScrambledUpdate(name.Get(), ToVariantBool(scrambled));
}

void CCallbackManager::FireEpgEvents(const std::u16string& device, IKxEpgEvents* events) {
  const BStr name(device);
  for (const auto& callback : Registered<IKxEpgEventsCallback>(KxCallbackType_EpgEvents))
    callback->OnEpgEvents(name.Get(), events);
}

void CCallbackManager::FireAudioSample(const std::u16string& device, const std::vector<uint8_t>& data,
                                       const WAVEFORMATEX& format) {
  const BStr name(device);
  for (const auto& callback : Registered<IKxAudioSampleCallback>(KxCallbackType_AudioSample))
    callback->OnAudioSample(name.Get(), data.data(), static_cast<LONG>(data.size()), &format, sizeof(WAVEFORMATEX));
}

void CCallbackManager::FireFilterGraphEvent(const std::u16string& device, LONG code, intptr_t param1,
                                            intptr_t param2) {
  log(1, "OnFilterGraphEvent: code=%d, p1=%d, p2=%d, %s", code, static_cast<int>(param1), static_cast<int>(param2),
      Utf16ToUtf8(device).c_str());
  if (!IsForwardedGraphEvent(code)) return;
  const BStr name(device);
  for (const auto& callback : Registered<IKxFilterGraphEventCallback>(KxCallbackType_FilterGraphEvent))
    callback->OnFilterGraphEvent(name.Get(), code, 0, 0, 0, 0);
}

HRESULT CCallbackManager::OnAudioSample(IMediaSample* sample, const WAVEFORMATEX& format) {
  if (!sample) return E_POINTER;
  uint8_t* bytes = nullptr;
  const HRESULT hr = sample->GetPointer(&bytes);
  if (FAILED(hr)) return hr;
  const LONG length = sample->GetActualDataLength();
  std::lock_guard lock(m_audioSampleLock);
  m_audioSample.assign(bytes, bytes + (length > 0 ? length : 0));
  m_audioFormat = format;
  m_newAudioSample = true;
  return S_OK;
}

bool CCallbackManager::TakeAudioSample(std::vector<uint8_t>* data, WAVEFORMATEX* format) {
  std::lock_guard lock(m_audioSampleLock);
  if (!m_newAudioSample) return false;
  *data = m_audioSample;
  *format = m_audioFormat;
  m_newAudioSample = false;
  return true;
}
