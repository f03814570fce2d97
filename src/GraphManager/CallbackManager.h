#pragma once
// The host's callback registrations by type, and their dispatch. Dispatch
// calls a referenced copy of the registrations with no lock held, so a
// callback may register, unregister or tear the graph down meanwhile.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "interfaces/IKxCallbackControl.h"
#include "platform/com/ComPtr.h"
#include "platform/graph/MediaSample.h"

// Where audio samples are handed in.
class IQoAudioSampleCallback {
 public:
  virtual HRESULT OnAudioSample(IMediaSample* sample, const WAVEFORMATEX& format) = 0;

 protected:
  ~IQoAudioSampleCallback() = default;
};

class CCallbackManager : public IQoAudioSampleCallback {
 public:
  CCallbackManager() = default;
  CCallbackManager(const CCallbackManager&) = delete;
  CCallbackManager& operator=(const CCallbackManager&) = delete;

  HRESULT OnAudioSample(IMediaSample* sample, const WAVEFORMATEX& format) override;
  virtual ~CCallbackManager() = default;
  // Every type unless a graph manager narrows it.
  virtual bool IsCallbackTypeSupported(LONG type) { return true; }

  HRESULT Register(LONG type, IUnknown* callback, LONG* cookie);
  void Unregister(LONG cookie);
  void UnregisterObject(IUnknown* callback);
  void ClearCallbacks();

  void FireSignalUpdate(const std::u16string& device, bool locked, LONG quality, LONG strength);
  void FireScrambledUpdate(const std::u16string& device, bool scrambled);
  void FireEpgEvents(const std::u16string& device, IKxEpgEvents* events);
  void FireAudioSample(const std::u16string& device, const std::vector<uint8_t>& data, const WAVEFORMATEX& format);
  void FireFilterGraphEvent(const std::u16string& device, LONG code, intptr_t param1, intptr_t param2);

  // Moves a newly arrived audio sample out; false when none arrived since.
  bool TakeAudioSample(std::vector<uint8_t>* data, WAVEFORMATEX* format);

 private:
  struct Entry {
    LONG flag;
    LONG cookie;
    ComPtr<IUnknown> callback;
  };
  // The registered objects of `type` that offer Interface, in registration order.
  template <class Interface>
  std::vector<ComPtr<Interface>> Registered(LONG type);
  template <class Matches>
  void RemoveFirst(Matches matches);

  std::mutex m_callbackLock;
  std::map<LONG, std::vector<Entry>> m_callbacks;
  LONG m_nextCookie = 1;

  std::mutex m_audioSampleLock;
  std::vector<uint8_t> m_audioSample;
  WAVEFORMATEX m_audioFormat{};
  bool m_newAudioSample = false;
};
