#pragma once
// The graph manager of the digital tuners: builds the receiving graph
// (network provider, tuner, TS blocker, tee, demultiplexer, PSI renderer and,
// by graph type and settings, the transport stream sink and the renderers),
// and answers the programme guide, signal, scrambling, transponder, extra
// information, audio property and device plug-in questions of the host.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "DSFilters/PsiRenderer/EpgCallback.h"
#include "GraphManager/KxGraphManager.h"
#include "devplugins/DevicePluginManager.h"
#include "interfaces/IKxGraphManagerDigital.h"
#include "interfaces/IPsiRenderer.h"
#include "platform/bda/TuningInterfaces.h"

enum KxEpgState : int32_t { KxEpgState_Idle = 0, KxEpgState_Foreground = 1, KxEpgState_Background = 2 };

class CKxGraphManagerDigitalBase : public CKxGraphManager,
                                   public IKxGraphManagerChannelControl,
                                   public IKxEpgManager,
                                   public IEpgCallback,
                                   public IKxGraphManagerExtraInfo,
                                   public IKxGraphManagerAudioPropertyControl,
                                   public IKxDevicePluginControl {
 public:
  using InterfaceMap = ::InterfaceMap<
      IKxGraphManager, IKxCallbackControl, InterfaceVia<IKxGraphManagerSetup, IKxGraphManagerSetup3>,
      InterfaceVia<IKxGraphManagerSetup2, IKxGraphManagerSetup3>, IKxGraphManagerSetup3, IKxGraphManagerSetup3PCodec,
      IKxGraphManagerOutputSetup, IKxGraphManagerMacrovisionControl, IKxStreamInfo, IKxGraphManagerSignalControl,
      IKxGraphManagerConditionalAccess, IKxGraphManagerVideoWindowControl, IKxGraphManagerTimeoutControl,
      IKxGraphManagerStreamInfoControl, IKxGraphManagerChannelControl, IKxEpgManager, IKxGraphManagerExtraInfo,
      IKxGraphManagerAudioPropertyControl, IKxDevicePluginControl>;

  CKxGraphManagerDigitalBase() = default;
  ~CKxGraphManagerDigitalBase() override;

  bool IsCallbackTypeSupported(LONG type) override;

  // IKxGraphManager: the background EPG follows the graph's state.
  HRESULT DeleteGraph() override;
  HRESULT StartGraph() override;
  HRESULT StopGraph() override;

  // IKxGraphManagerChannelControl
  HRESULT put_Channel(IKxChannel* channel) override;

  // IKxEpgManager
  HRESULT StartEpgScan() override;
  HRESULT StopEpgScan() override;
  HRESULT get_IsEpgScanCompleted(VARIANT_BOOL* completed) override;
  HRESULT get_EpgEvents(IKxEpgEvents** events) override;
  HRESULT get_BackgroundEpg(VARIANT_BOOL* enabled) override;
  HRESULT put_BackgroundEpg(VARIANT_BOOL enable) override;

  // IEpgCallback: on the PSI renderer's background EPG thread.
  HRESULT OnEpgEvents(IEpgEvents* events) override;

  // The signal facets that need the PSI renderer.
  HRESULT get_TransponderInfo(IKxTransponderInfo** info) override;
  HRESULT get_VideoInfo(IKxVideoInfo** info) override;
  HRESULT get_AudioInfo(IKxAudioInfo** info) override;

  // IKxGraphManagerExtraInfo
  HRESULT get_ExtraInfo(LONG type, IUnknown** info) override;

  // IKxGraphManagerAudioPropertyControl
  HRESULT get_IsAudioPropertySupported(LONG id, VARIANT_BOOL* supported) override;
  HRESULT put_AudioInputIndex(LONG index) override;
  HRESULT get_AudioPropertyRange(LONG id, LONG* min, LONG* max, LONG* step) override;
  HRESULT get_AudioPropertyDefault(LONG id, LONG* value) override;
  HRESULT get_AudioProperty(LONG id, LONG* value) override;
  HRESULT put_AudioProperty(LONG id, LONG value) override;
  HRESULT get_AudioPropertyAuto(LONG id, VARIANT_BOOL* value) override;
  HRESULT put_AudioPropertyAuto(LONG id, VARIANT_BOOL value) override;

  // IKxDevicePluginControl
  HRESULT get_DevicePluginCount(LONG* count) override;
  HRESULT get_DevicePluginCapabilities(LONG index, LONG* caps) override;
  HRESULT get_DevicePluginDescription(LONG index, BSTR* text) override;
  HRESULT get_DevicePluginManufacturer(LONG index, BSTR* text) override;
  HRESULT get_DevicePluginFileName(LONG index, BSTR* text) override;
  HRESULT FindDevicePlugin(LONG capability, IUnknown** plugin) override;

 protected:
  HRESULT BuildGraphInternal(LONG graphType, KxGraphBuild& build) override;
  HRESULT AfterBuildGraph(LONG graphType, KxGraphBuild& build) override;
  HRESULT GetPinForVideoStreamProperties(IPin** pin) override;
  HRESULT GetPinForAudioStreamProperties(IPin** pin) override;
  HRESULT GetScrambled(bool* scrambled) override;
  HRESULT GetMacrovisionLevel(LONG* level) override { return E_NOTIMPL; }
  HRESULT GetSignalStatus(bool* locked, LONG* quality, LONG* strength) override;
  virtual HRESULT GetCamcorderTimecode(LONG* timecode, LONG* frames) { return E_NOTIMPL; }
  virtual HRESULT MainBuildSubGraph(LONG graphType, KxGraphBuild& build);
  void OnGraphTakenOver() override;

  // The PSI renderer of the graph under one of its interfaces; E_POINTER
  // when there is no graph.
  template <class Interface>
  HRESULT PsiRenderer(ComPtr<Interface>* out);

  // The two tuning routes of a channel switch: a device plug-in's tune
  // command, and the network provider.
  virtual HRESULT PutTuneRequest(IKxChannel* channel);
  virtual HRESULT ExecuteTuneRequestCommand(IKxChannel* channel);
  HRESULT GetTuneRequest(IKxChannel* channel, ITuneRequest** out);
  // Hands a tune request to the network provider's tuner interface.
  HRESULT TuneNetworkProvider(ITuneRequest* request);
  std::shared_ptr<CDevicePluginManager> DevicePlugins();
  // The plug-in serving `capability`: E_FAIL without a graph, S_FALSE when
  // none qualifies.
  HRESULT FindCapablePlugin(LONG capability, ComPtr<IKxDevicePlugin>* plugin);
  // Runs a filled tune command (`hr` is the filling's result) with the
  // transport stream blocked, so that no packet of the old multiplex follows
  // the new one; `logCommand` writes its log lines before the result's.
  HRESULT ExecuteTuneCommand(IKxDevicePlugin* plugin, HRESULT hr, IKxDPCommand* command,
                             const std::function<void()>& logCommand);
  bool HasRendererConfigured() const;

 private:
  // The front end, one network provider kind per attempt.
  HRESULT LoadNetworkProvider(KxGraphBuild& build);
  HRESULT LoadNetworkProviderVista(KxGraphBuild& build);
  HRESULT LoadNetworkTuner(KxGraphBuild& build);
  HRESULT LoadNetworkReceiver(KxGraphBuild& build);
  HRESULT LoadTsBlocker(KxGraphBuild& build);
  // Behind the front end.
  HRESULT LoadStreamDump(KxGraphBuild& build, ComPtr<IPin>* receiverOut);
  HRESULT LoadBDADemultiplexer(KxGraphBuild& build, IBaseFilter* source);
  HRESULT LoadSinkFilter(KxGraphBuild& build, IPin* pin);
  HRESULT LoadPsiRenderer(KxGraphBuild& build, IBaseFilter* source);
  HRESULT RenderBDADemultiplexer(KxGraphBuild& build, ComPtr<IPin>* videoOut, ComPtr<IPin>* audioOut);
  HRESULT BuildVideoPreviewGraph(KxGraphBuild& build, IPin* pin);
  HRESULT BuildAudioPreviewGraph(KxGraphBuild& build, IPin* pin);
  HRESULT DeleteAllUnconnectedPins(KxGraphBuild& build);
  HRESULT AddFilter(KxGraphBuild& build, LONG role, IBaseFilter* filter, const char16_t* name);

  // Channel control's steps.
  HRESULT GetPsiReaderFilter(IBaseFilter** filter);
  HRESULT ApplyCA(IKxChannel* channel);
  HRESULT SetupPids(IKxChannel* channel);
  HRESULT UpdatePidInfo(IKxChannel* channel);
  // Writes the new channel's streams to the device record; true when its
  // kind (high definition, AC-3) differs from the recorded one.
  bool RecordChannelKind(const struct KxChannelPids& pids);
  void RebuildForChannelKind();
  bool IsSecondTuneRequestRequired();
  HRESULT TuneChannel(IKxChannel* channel);
  void ClearSinkBuffers();
  void SetTsBlocking(bool blocking);

  // Lets go of a renderer left by a guide callback; never on a renderer's thread.
  void ReleaseRetiredPsiRenderer();
  HRESULT StartBackgroudEpg();
  HRESULT StopBackgroudEpg();
  // Signal strength and quality from the tuner's statistics; false when no
  // statistics answered.
  bool ReadReceptionStatistics(LONG* quality, LONG* strength);
  HRESULT GetScanningTuner(IScanningTuner** tuner);
  HRESULT PluginRecordAt(LONG index, const DevicePluginRecord** record,
                             std::shared_ptr<CDevicePluginManager>* owner);
  HRESULT AudioInputMixer();
  HRESULT BasicAudioProperty(LONG id, bool write, LONG* value);

  std::atomic<int32_t> m_lEpgState{KxEpgState_Idle};
  ComPtr<IReferenceClock> m_pSystemClock;
  LONG m_lAudioInputIndex = 0;
  // The PSI renderer a guide callback held last (see OnEpgEvents).
  std::mutex m_retiredLock;
  ComPtr<IBaseFilter> m_pRetiredPsiRenderer;
  std::mutex m_pluginLock;
  std::shared_ptr<CDevicePluginManager> m_pDevicePluginManager;
};
