#pragma once
// The renderer that terminates the PSI branch of the receiving graph: every
// sample goes to the splitter; the CA manager and transponder information
// always, and one of channel search, foreground EPG and background EPG at a
// time, each read their own sections from it.
#include <atomic>
#include <memory>

#include "DSFilters/PsiRenderer/EpgCallbackSink.h"
#include "DSFilters/PsiRenderer/StreamObserver.h"
#include "DSFilters/PsiRenderer/engine/BackgroundEpgBase.h"
#include "DSFilters/PsiRenderer/engine/CAManager.h"
#include "DSFilters/PsiRenderer/engine/ChannelSearchBase.h"
#include "DSFilters/PsiRenderer/engine/EpgBase.h"
#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"
#include "DSFilters/PsiRenderer/engine/TransponderInfo.h"
#include "interfaces/IPsiRenderer.h"
#include "platform/graph/BaseFilter.h"

constexpr CLSID CLSID_PsiRendererFilter = MakeGuid("{B606E2A5-BA57-4F4B-8C53-BFD0E348780E}");

class CPsiRendererFilter;

class CPsiRendererInputPin : public CBaseInputPin {
 public:
  CPsiRendererInputPin(CPsiRendererFilter* filter, RecursiveLock* lock);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
  HRESULT Receive(IMediaSample* sample) override;
  CStreamObserver& Observer() { return m_Observer; }

 private:
  CPsiRendererFilter* m_pOwner;
  RecursiveLock m_receiveLock;
  CStreamObserver m_Observer;
};

class CPsiRendererFilter : public CBaseFilter,
                           public IMpeg2PsiReader,
                           public IChannelSearch,
                           public IEpg,
                           public IBackgroundEpg {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter, IMpeg2PsiReader, IChannelSearch, IEpg, IBackgroundEpg>;
  CPsiRendererFilter();

  static HRESULT CreateFilter(IBaseFilter** filter);

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override;

  // IMpeg2PsiReader
  HRESULT Init(LONG networkType) override;
  HRESULT get_StreamExist(VARIANT_BOOL* exists) override;
  HRESULT get_IsScrambled(LONG serviceId, VARIANT_BOOL* scrambled) override;
  HRESULT get_TransponderInfo(LONG* frequency, LONG* polarisation, LONG* symbolRate, LONG* orbitalPosition) override;
  HRESULT get_TransponderInfoEx(VARIANT_BOOL* dvbS2) override;
  HRESULT ResetStreamInfo() override;
  HRESULT GetPmtSection(LONG programNumber, uint8_t** section, LONG* length) override;
  // IChannelSearch
  HRESULT StartChannelScan(LONG flags) override;
  HRESULT StopChannelScan() override;
  HRESULT get_IsChannelSearchCompleted(VARIANT_BOOL* completed) override;
  HRESULT get_Channels(IChannels** channels) override;
  HRESULT get_TransponderFrequencies(ITransponderFrequencies** frequencies) override;
  // IEpg
  HRESULT StartEpgScan() override;
  HRESULT StopEpgScan() override;
  HRESULT get_IsEpgScanCompleted(VARIANT_BOOL* completed) override;
  HRESULT get_EpgEvents(IEpgEvents** events) override;
  // IBackgroundEpg
  HRESULT StartBackgroundEpg(IEpgCallback* callback) override;
  HRESULT StopBackgroundEpg() override;

  CPsiRendererSplitter& Splitter() { return m_Splitter; }
  virtual ~CPsiRendererFilter();

 private:
  // Stops a worker and clears the shared running flag.
  HRESULT StopWorker(CPsiReaderSimpleThread* worker);

  RecursiveLock m_interfaceLock;
  CPsiRendererSplitter m_Splitter;
  CCAManager m_CAManager{m_Splitter};
  CTransponderInfo m_TransponderInfo{m_Splitter};
  std::shared_ptr<CPsiRendererInputPin> m_pInputPin;
  PsiRenderer_NetworkType m_NetworkType = PsiRenderer_NetworkType_Dvbt;
  std::shared_ptr<CChannelSearchBase> m_pChannelSearch;
  std::shared_ptr<CEpgBase> m_pEpg;
  CEpgCallbackSink m_EpgCallbackSink;  // outlives the background EPG that calls it
  std::shared_ptr<CBackgroundEpgBase> m_pBackgroundEpg;
  std::atomic<int32_t> m_nRunning{0};
};
