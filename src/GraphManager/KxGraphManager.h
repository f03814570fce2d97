#pragma once
// The graph manager: owns one receiving graph for one capture device, builds
// it on a build thread of its own, runs and tears it down, locks the device
// while the graph exists and reports to the host through its callbacks.
// Building the filters themselves is left to the derived graph managers.
#include <map>
#include <memory>
#include <vector>

#include "GraphManager/CallbackManagerCOM.h"
#include "GraphManager/GraphBuildThread.h"
#include "GraphManager/GraphSettings.h"
#include "GraphManager/GraphStatus.h"
#include "GraphManager/KxGraphManagerObserverThread.h"
#include "GraphManager/ObservedGraph.h"
#include "GraphManager/OutputProperty.h"
#include "devplugins/DPGraphManager.h"
#include "platform/graph/FileSink.h"
#include "interfaces/IKxCaptureDevice.h"
#include "interfaces/IKxGraphManagerFacets.h"
#include "platform/com/ComObject.h"
#include "platform/graph/FilterGraph.h"
#include "platform/sync/RecursiveLock.h"

using KxFilterGraph = ComObject<CFilterGraph>;
using KxFilterTable = std::map<LONG, ComPtr<IBaseFilter>>;

// What one build makes. The graph manager takes it over only when the build
// ended in time; a late build keeps it to itself and drops it.
struct KxGraphBuild {
  ComPtr<KxFilterGraph> graph;
  KxFilterTable filters;
};

class CKxGraphManager : public CCallbackManagerCOM,
                        public IKxGraphManager,
                        public IKxGraphManagerSetup3,
                        public IKxGraphManagerSetup3PCodec,
                        public IKxGraphManagerOutputSetup,
                        public IKxGraphManagerMacrovisionControl,
                        public IKxStreamInfo,
                        public IKxGraphManagerSignalControl,
                        public IKxGraphManagerConditionalAccess,
                        public IKxGraphManagerVideoWindowControl,
                        public IKxGraphManagerTimeoutControl,
                        public IKxGraphManagerStreamInfoControl,
                        public IDPGraphManager,
                        protected IKxObservedGraph {
 public:
  using InterfaceMap =
      ::InterfaceMap<IKxGraphManager, IKxCallbackControl, InterfaceVia<IKxGraphManagerSetup, IKxGraphManagerSetup3>,
                     InterfaceVia<IKxGraphManagerSetup2, IKxGraphManagerSetup3>, IKxGraphManagerSetup3,
                     IKxGraphManagerSetup3PCodec, IKxGraphManagerOutputSetup, IKxGraphManagerMacrovisionControl,
                     IKxStreamInfo, IKxGraphManagerSignalControl, IKxGraphManagerConditionalAccess,
                     IKxGraphManagerVideoWindowControl, IKxGraphManagerTimeoutControl,
                     IKxGraphManagerStreamInfoControl>;

  CKxGraphManager();
  // Deletes a graph that is still there. A derived class deletes the graph
  // in its own destructor too: the observer and its own StopGraph call the
  // derived class while the graph exists.
  ~CKxGraphManager() override;

  HRESULT Initialize(IKxCaptureDevice* device, bool startObserverThread);
  void SetHardwareEnumerator(IUnknown* enumerator) { m_pHWEnum = enumerator; }

  // IKxGraphManager
  HRESULT BuildGraph(LONG graphType) override;
  HRESULT DeleteGraph() override;
  HRESULT StartGraph() override;
  HRESULT PauseGraph() override;
  HRESULT StopGraph() override;
  HRESULT get_IsGraphBuilt(VARIANT_BOOL* built) override;
  HRESULT get_IsGraphRunning(VARIANT_BOOL* running) override;
  HRESULT get_IsGraphPaused(VARIANT_BOOL* paused) override;
  HRESULT get_IsGraphStopped(VARIANT_BOOL* stopped) override;
  HRESULT RebuildGraph(LONG graphType) override { return BuildGraph(graphType); }

  // IKxGraphManagerSetup3
  HRESULT put_AudioDevice(IUnknown* device) override;
  HRESULT put_OutputTarget(LONG kind, VARIANT target) override;
  HRESULT put_CaptureFilePath(BSTR path) override;
  HRESULT put_VideoRenderer(VARIANT_BOOL enable, HWND window) override;
  HRESULT put_AudioRenderer(VARIANT_BOOL enable) override;
  HRESULT put_VideoRenderer2(LONG type, HWND window) override;
  HRESULT put_AudioRenderer2(LONG type) override;
  HRESULT put_VideoRenderer3(VARIANT_BOOL enable, HWND window) override { return put_VideoRenderer(enable, window); }
  HRESULT put_VideoRenderer4(LONG type, HWND window) override { return put_VideoRenderer2(type, window); }

  // IKxGraphManagerSetup3PCodec
  HRESULT put_VideoCodec(BSTR monikerName) override;
  HRESULT put_AudioCodec(BSTR monikerName) override;
  HRESULT put_VideoCodecConfig(LONG size, const uint8_t* data) override;
  HRESULT put_AudioCodecConfig(LONG size, const uint8_t* data) override;
  HRESULT put_CodecSetting20(LONG value) override;
  HRESULT put_CodecSetting21(LONG value) override;
  HRESULT put_CodecSetting25(LONG low, LONG high) override;
  HRESULT put_CodecSetting26(LONG low, LONG high) override;
  HRESULT put_CodecSetting22(LONG value) override;
  HRESULT put_CodecSettings23And24(LONG value23, LONG value24) override;

  // IKxGraphManagerOutputSetup
  HRESULT put_OutputProperty(LONG id, VARIANT value) override;
  HRESULT get_OutputProperty(LONG id, VARIANT* value) override;

  // The host-facing getters
  HRESULT get_MacrovisionLevel(LONG* level) override;
  HRESULT get_PidInfos(IKxEnumPidInfo** pidInfos) override;
  HRESULT get_SignalStatus(VARIANT_BOOL* locked, LONG* quality, LONG* strength) override;
  HRESULT get_TransponderInfo(IKxTransponderInfo** info) override;
  HRESULT get_IsScrambled(VARIANT_BOOL* scrambled) override;
  HRESULT get_VideoInfo(IKxVideoInfo** info) override;
  HRESULT get_AudioInfo(IKxAudioInfo** info) override;

  // IKxGraphManagerVideoWindowControl
  HRESULT put_VideoWindowOwner(HWND owner) override;
  HRESULT SetWindowPosition(LONG x, LONG y, LONG width, LONG height) override;
  HRESULT GetWindowPosition(LONG* x, LONG* y, LONG* width, LONG* height) override;
  HRESULT put_FullScreenMode(VARIANT_BOOL fullScreen) override;
  HRESULT get_FullScreenMode(VARIANT_BOOL* fullScreen) override;

  // IKxGraphManagerTimeoutControl
  HRESULT put_FilterGraphTimeout(VARIANT_BOOL enable, LONG ms) override;
  HRESULT get_FilterGraphTimeout(VARIANT_BOOL* enabled, LONG* ms) override;

  // IDPGraphManager: the device plug-ins' view, and the core state changes
  // without the EPG handling of the digital graph managers.
  HRESULT GetFilter(LONG role, IUnknown** filter) override;
  HRESULT StartGraphOnly() override;
  HRESULT PauseGraphOnly() override;
  HRESULT StopGraphOnly() override;
  HRESULT GetVideoDeviceMoniker(BSTR* moniker) override;
  HRESULT GetHardwareEnumerator(IUnknown** enumerator) override;
  HRESULT GetCaptureDeviceType(LONG* type) override;
  HRESULT GetDeviceManufacturer(BSTR* manufacturer) override;

 protected:
  // Builds the filters into `build` on the build thread.
  virtual HRESULT BuildGraphInternal(LONG graphType, KxGraphBuild& build) = 0;
  virtual HRESULT AfterBuildGraph(LONG graphType, KxGraphBuild& build) { return S_OK; }
  virtual HRESULT GetPinForVideoStreamProperties(IPin** pin) { return E_NOTIMPL; }
  virtual HRESULT GetPinForAudioStreamProperties(IPin** pin) { return E_NOTIMPL; }
  // The graph of a build that ended in time has become the manager's (graph lock held).
  virtual void OnGraphTakenOver() {}
  // Takes the graph apart as DeleteGraph does and builds it again on a new
  // build thread; settings, device lock and callbacks stay. Graph lock held.
  HRESULT RebuildGraphInPlace(LONG graphType);
  // The output targets of put_OutputTarget, for the sink of a capture graph.
  IBaseFilter* OutputSinkFilter() const { return m_pOutputSinkFilter.Get(); }
  IUnknown* TransportStreamCallback() const { return m_pTransportStreamCallback.Get(); }

  // IKxObservedGraph: what the observer thread polls.
  bool TryLockGraph() override { return m_graphLock.try_lock(); }
  void UnlockGraph() override { m_graphLock.unlock(); }
  HRESULT GetScrambled(bool* scrambled) override { return E_NOTIMPL; }
  HRESULT GetMacrovisionLevel(LONG* level) override { return E_NOTIMPL; }
  HRESULT GetSignalStatus(bool* locked, LONG* quality, LONG* strength) override { return E_NOTIMPL; }
  HRESULT GetVideoFormat(KxVideoFormat* format) override;
  bool TakeGraphEvent(GraphEvent* event) override;
  CGraphStatus& Status() override { return m_status; }
  CCallbackManager& Callbacks() override { return *this; }

  RecursiveLock m_graphLock;
  ComPtr<IKxCaptureDevice> m_pVideoDevice;
  ComPtr<IUnknown> m_pAudioDevice;
  BStr m_bstrManufacturer;
  ComPtr<IUnknown> m_pHWEnum;
  bool m_bStartObserverThread = false;
  ComPtr<KxFilterGraph> m_pGraphBuilder;
  KxFilterTable m_flts;
  CGraphSettings m_Settings;
  CGraphStatus m_status;
  std::vector<ComPtr<IKxPidInfo>> m_vecPidInfo;
  LONG m_nCurrentServiceId = 0;
  CKxGraphManagerObserverThread m_observer{*this};

 private:
  HRESULT RunBuildThread(LONG graphType);
  // The filters of the graph go; the graph itself stays.
  void RemoveAllFilters();
  // Filters, filter table, build thread and graph go.
  void DismantleGraph();
  HRESULT ChangeGraphState(FILTER_STATE target);
  HRESULT TakeCodec(BSTR monikerName, ComPtr<IBaseFilter>* codec);
  HRESULT CopyCodecConfig(LONG size, const uint8_t* data, std::vector<uint8_t>* config);
  void ResetSettings();
  HRESULT StreamPinType(bool video, AM_MEDIA_TYPE* type);
  bool HasVideoRenderer() const { return m_pGraphBuilder && m_flts.count(2) != 0; }
  const void* Address() const { return this; }

  CGraphBuildThread m_buildThread;
  COutputProperties m_outputProperties{m_Settings};
  ComPtr<IBaseFilter> m_pOutputSinkFilter;
  ComPtr<IUnknown> m_pTransportStreamCallback;
  ComPtr<IStream> m_pOutputStream;
  ComPtr<IBaseFilter> m_pVideoCodec;
  ComPtr<IBaseFilter> m_pAudioCodec;
  std::vector<uint8_t> m_videoCodecConfig;
  std::vector<uint8_t> m_audioCodecConfig;
  HWND m_hVideoWindowOwner = nullptr;
  HWND m_hRendererWindow = nullptr;
  LONG m_windowPosition[4] = {0, 0, 0, 0};
  bool m_bFullScreen = false;
  bool m_bDeleting = false;
};
