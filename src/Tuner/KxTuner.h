#pragma once
// The tuner base: start and stop of the automatic channel search, the worker
// thread that runs it step by step, the render settings and the tuner
// properties. The delivery-system classes supply the steps.
#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include "interfaces/IKxCaptureDevice.h"
#include "interfaces/IKxTuner.h"
#include "platform/com/ComPtr.h"
#include "platform/sync/Event.h"
#include "platform/sync/RecursiveLock.h"
#include "threads/KxComThreadEx.h"

class CKxTuner : public IKxTuner {
 public:
  CKxTuner();
  CKxTuner(const CKxTuner&) = delete;
  CKxTuner& operator=(const CKxTuner&) = delete;
  virtual ~CKxTuner();

  HRESULT Initialize(IKxCaptureDevice* device, IKxGraphManager* graphManager);

  // IKxTuner
  HRESULT StartAutoTuning(IUnknown* callback) override;
  HRESULT StopAutoTuning() override;
  HRESULT put_VideoRenderer(VARIANT_BOOL enable, HWND window) override;
  HRESULT put_AudioRenderer(VARIANT_BOOL enable) override;
  HRESULT put_Property(LONG key, VARIANT value) override;
  HRESULT get_Property(LONG key, VARIANT* value) override;

 protected:
  enum RenderSetting : LONG { KxGraphSetting_VideoRenderer = 4, KxGraphSetting_AudioRenderer = 5 };

  virtual HRESULT OnBeforeStartAutoTuning() { return S_OK; }
  virtual HRESULT OnAfterStartAutoTuning() { return S_OK; }
  virtual HRESULT OnBeforeScanStep();
  virtual HRESULT OnScanStep() = 0;
  virtual HRESULT OnAfterScanStep();
  virtual bool IsScanFinished() = 0;
  virtual LONG GetCurrentFrequency() = 0;
  virtual LONG GetProgress() = 0;
  virtual HRESULT OnBeforeStopAutoTuning() { return S_OK; }
  virtual HRESULT OnAfterStopAutoTuning();

  // The worker calls the subclasses' steps: the most derived class stops it
  // in its own destructor.
  void StopWorker();

  // True when the property holds the 32-bit integer 1 or the 16-bit integer -1.
  bool PropertyIsTrue(LONG key) const;
  // The render setting's value, 0 when it is not set.
  LONG RenderSetting(LONG key) const;
  HWND VideoWindow() const { return m_hVideoWindow; }

  // Waits up to `ms` of clock time for a stop; true when one was asked for.
  bool WaitForStop(uint32_t ms) { return m_stopEvent.Wait(ms); }
  bool StopRequested() const { return m_stopEvent.IsSet(); }

  // The host's callback for this search, or none.
  ComPtr<IKxTunerCallback> Callback() const;

  ComPtr<IKxCaptureDevice> m_pVideoDevice;
  BStr m_bstrMonikerName;
  ComPtr<IKxGraphManager> m_pGraphManager;

 private:
  class Worker : public CKxComThreadEx {
   public:
    explicit Worker(CKxTuner& owner) : m_owner(owner) {}
    ~Worker() override { WaitForThread(); }
    bool Join() { return WaitForThread(); }

   private:
    void Run() override { m_owner.TunerThreadProc(); }
    CKxTuner& m_owner;
  };

  void TunerThreadProc();
  bool OnWorkerThread() const { return m_workerThread.load() == std::this_thread::get_id(); }

  RecursiveLock m_lock;  // start and stop
  mutable std::mutex m_dataLock;  // properties, render settings, callback
  std::map<LONG, Variant> m_properties;
  std::map<LONG, LONG> m_renderSettings;
  HWND m_hVideoWindow = nullptr;
  ComPtr<IKxTunerCallback> m_callback;
  Event m_stopEvent{Event::Reset::Manual};
  bool m_bWorkerStarted = false;  // until a stop has joined it
  std::atomic<std::thread::id> m_workerThread{};
  Worker m_worker{*this};
};
