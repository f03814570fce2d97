// Building the digital receiving graph: the front end (network provider,
// tuner, receiver, TS blocker) and everything behind it.
#include "DSFilters/PsiRenderer/PsiRendererFilter.h"
#include "DSFilters/TransportStreamCallback/TransportStreamCallbackFilter.h"
#include "DSFilters/TsBlocker/TsBlockerFilter.h"
#include "DSH/DSH.h"
#include "GraphManager/ChannelReads.h"
#include "GraphManager/DeviceRecordTable.h"
#include "GraphManager/KxGraphManagerDigitalBase.h"
#include "GraphManager/TracedCall.h"
#include "interfaces/IKxTransportStreamSink.h"
#include "interfaces/KxFilterRole.h"
#include "platform/bda/BdaTypes.h"
#include "platform/bda/TuningSpaces.h"
#include "platform/graph/FileWriterFilter.h"
#include "platform/graph/InfTee.h"
#include "platform/graph/Mpeg2Demultiplexer.h"
#include "platform/graph/NullAudioDecoder.h"
#include "platform/graph/NullRenderer.h"
#include "platform/graph/NullVideoDecoder.h"
#include "platform/graph/StreamDumpFilter.h"
#include "platform/os/SettingsKey.h"

namespace {
static constexpr const char* kLogFile = "KxGraphManagerDigitalBase";
constexpr LONG kOutputFormatTs = 6;
constexpr LONG kAudioRendererRole = 3;

// This platform has the generic network provider of the newer versions.
constexpr bool kNewerPlatform = true;

const CLSID& LegacyNetworkProviderOf(LONG deviceType) {
  switch (deviceType) {
    case KxCaptureDeviceType_Atsc: return CLSID_ATSCNetworkProvider;
    case KxCaptureDeviceType_Dvbt: return CLSID_DVBTNetworkProvider;
    case KxCaptureDeviceType_Dvbs: return CLSID_DVBSNetworkProvider;
    case KxCaptureDeviceType_Dvbc: return CLSID_DVBCNetworkProvider;
    default: return GUID_NULL;
  }
}

// The empty tune request a legacy provider needs before it can connect.
HRESULT EmptyTuneRequest(LONG deviceType, ITuneRequest** request) {
  ComPtr<ITuningSpace> space;
  if (deviceType == KxCaptureDeviceType_Atsc) {
    space = ComObject<CATSCTuningSpace>::Make();
  } else if (deviceType == KxCaptureDeviceType_Dvbs) {
    space = ComObject<CDVBSTuningSpace>::Make();
  } else if (deviceType == KxCaptureDeviceType_Dvbt || deviceType == KxCaptureDeviceType_Dvbc) {
    auto dvb = ComObject<CDVBTuningSpace>::Make();
    const bool terrestrial = deviceType == KxCaptureDeviceType_Dvbt;
    dvb->put_SystemType(terrestrial ? DVB_Terrestrial : DVB_Cable);
    dvb->put__NetworkType(terrestrial ? CLSID_DVBTNetworkProvider : CLSID_DVBCNetworkProvider);
    space = dvb;
  } else {
    return E_INVALIDARG;
  }
  if (!space) return E_OUTOFMEMORY;
  return space->CreateTuneRequest(request);
}

bool StreamDumpWanted() {
  const auto key = SettingsKey::Open(SettingsRoot::LocalMachine);
  const auto value = key ? key->GetNumber("DigitalStreamDump") : std::nullopt;
  return value && *value != 0;
}

ComPtr<IBaseFilter> FilterOf(const KxGraphBuild& build, LONG role) {
  const auto it = build.filters.find(role);
  return it == build.filters.end() ? ComPtr<IBaseFilter>() : it->second;
}

bool PinOffers(IPin* pin, const GUID& majorType) {
  std::vector<AM_MEDIA_TYPE> types;
  if (FAILED(pin->EnumMediaTypes(&types))) return false;
  for (const AM_MEDIA_TYPE& type : types)
    if (type.majortype == majorType) return true;
  return false;
}
}  // namespace

HRESULT CKxGraphManagerDigitalBase::AddFilter(KxGraphBuild& build, LONG role, IBaseFilter* filter,
                                              const char16_t* name) {
  build.filters[role] = filter;
  return DSH::AddFilterToGraph(build.graph.Get(), filter, name);
}

HRESULT CKxGraphManagerDigitalBase::BuildGraphInternal(LONG graphType, KxGraphBuild& build) {
  HRESULT hr = E_FAIL;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const bool vista = (attempt == 0) == kNewerPlatform;
    if (vista) {
      hr = LoadNetworkProviderVista(build);
      traceFailure(hr, "(hr) = (LoadNetworkProviderVista())", kLogFile);
    } else {
      hr = LoadNetworkProvider(build);
      traceFailure(hr, "(hr) = (LoadNetworkProvider())", kLogFile);
    }
    if (SUCCEEDED(hr)) {
      hr = LoadNetworkTuner(build);
      traceFailure(hr, "(hr) = (LoadNetworkTuner())", kLogFile);
    }
    if (SUCCEEDED(hr)) {
      hr = LoadNetworkReceiver(build);
      traceFailure(hr, "(hr) = (LoadNetworkReceiver())", kLogFile);
    }
    if (SUCCEEDED(hr)) {
      hr = LoadTsBlocker(build);
      traceFailure(hr, "(hr) = (LoadTsBlocker())", kLogFile);
    }
    if (SUCCEEDED(hr)) break;
    std::vector<ComPtr<IBaseFilter>> filters;
    if (SUCCEEDED(build.graph->EnumFilters(&filters)))
      for (const ComPtr<IBaseFilter>& filter : filters) build.graph->RemoveFilter(filter.Get());
    build.filters.clear();
  }
  if (FAILED(hr)) return hr;
  RETURN_IF_FAILED_AS("MainBuildSubGraph(eGraphType)", MainBuildSubGraph(graphType, build));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::LoadNetworkProvider(KxGraphBuild& build) {
  LONG eDevType = 0;
  RETURN_IF_FAILED_AS("m_pVideoDevice->get_Type(&eDevType)", m_pVideoDevice->get_DeviceType(&eDevType));
  ComPtr<IBaseFilter> provider;
  RETURN_IF_FAILED_AS("DSH::CreateFilterByClassId(clsidNetworkProvider, &m_flts[KxFLTNetworkProvider])",
                      DSH::CreateFilterByClassId(LegacyNetworkProviderOf(eDevType), provider.Put()));
  RETURN_IF_FAILED_AS("AddFilterToGraph(m_flts[KxFLTNetworkProvider], L\"Network Provider\")",
                      AddFilter(build, KxFLTNetworkProvider, provider.Get(), u"Network Provider"));
  ComPtr<ITuneRequest> request;
  RETURN_IF_FAILED_AS("CreateTuneRequest(eDevType, &pTuneRequest)", EmptyTuneRequest(eDevType, request.Put()));
  ComPtr<ITuner> tuner;
  RETURN_IF_FAILED_AS("m_flts[KxFLTNetworkProvider].QueryInterface(&pTuner)", provider.As(tuner));
  RETURN_IF_FAILED_AS("pTuner->put_TuneRequest(pTuneRequest)", tuner->put_TuneRequest(request.Get()));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::LoadNetworkProviderVista(KxGraphBuild& build) {
  ComPtr<IBaseFilter> provider;
  RETURN_IF_FAILED_AS("DSH::CreateFilterByClassId(CLSID_NetworkProvider, &m_flts[KxFLTNetworkProvider])",
                      DSH::CreateFilterByClassId(CLSID_NetworkProvider, provider.Put()));
  RETURN_IF_FAILED_AS("AddFilterToGraph(m_flts[KxFLTNetworkProvider], L\"Vista NP\")",
                      AddFilter(build, KxFLTNetworkProvider, provider.Get(), u"Vista NP"));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::LoadNetworkTuner(KxGraphBuild& build) {
  BStr moniker, friendly;
  RETURN_IF_FAILED_AS("m_pVideoDevice->get_MonikerName(&bstrMonikerName)",
                      m_pVideoDevice->get_MonikerName(moniker.Put()));
  RETURN_IF_FAILED_AS("m_pVideoDevice->get_FriendlyName(&bstrFriendlyName)",
                      m_pVideoDevice->get_FriendlyName(friendly.Put()));
  ComPtr<IUnknown> created;
  HRESULT hr = DSH::CreateFilterByMonikerName(moniker.Get(), created.Put());
  traceFailure(hr, "(hr) = (DSH::CreateFilterByMonikerName(bstrMonikerName, &m_flts[KxFLTNetworkTuner]))", kLogFile);
  ComPtr<IBaseFilter> tuner = QueryAs<IBaseFilter>(created.Get());
  if (SUCCEEDED(hr) && !tuner) hr = E_NOINTERFACE;
  if (SUCCEEDED(hr)) {
    hr = AddFilter(build, KxFLTNetworkTuner, tuner.Get(), std::u16string(friendly.View()).c_str());
    traceFailure(hr, "(hr) = (AddFilterToGraph(m_flts[KxFLTNetworkTuner], bstrFriendlyName))", kLogFile);
  }
  if (SUCCEEDED(hr)) {
    hr = DSH::ConnectFilters(build.graph.Get(), FilterOf(build, KxFLTNetworkProvider).Get(), tuner.Get());
    traceFailure(hr, "(hr) = (ConnectFilters(m_flts[KxFLTNetworkProvider], m_flts[KxFLTNetworkTuner]))", kLogFile);
  }
  build.filters[KxFLTVideoSource] = FilterOf(build, KxFLTNetworkTuner);
  return hr;
}

HRESULT CKxGraphManagerDigitalBase::LoadNetworkReceiver(KxGraphBuild& build) {
  // No receiver components are registered on this platform: the tuner
  // delivers the transport stream itself.
  build.filters[KxFLTNetworkReceiver] = FilterOf(build, KxFLTNetworkTuner);
  return build.filters[KxFLTNetworkReceiver] ? S_OK : E_POINTER;
}

HRESULT CKxGraphManagerDigitalBase::LoadTsBlocker(KxGraphBuild& build) {
  ComPtr<IPin> pin;
  RETURN_IF_FAILED_AS("GetNextFreeOutputPin(m_flts[KxFLTNetworkReceiver], &pPin)",
                      DSH::FindFreePin(FilterOf(build, KxFLTNetworkReceiver).Get(), PINDIR_OUTPUT, nullptr, 0,
                                       pin.Put()));
  ComPtr<IBaseFilter> blocker;
  RETURN_IF_FAILED_AS("CTsBlockerFilter::CreateFilter(&m_flts[KxFLTTsBlocker])",
                      CTsBlockerFilter::CreateFilter(blocker.Put()));
  RETURN_IF_FAILED_AS("AddFilterToGraph(m_flts[KxFLTTsBlocker], L\"TS Blocker\")",
                      AddFilter(build, KxFLTTsBlocker, blocker.Get(), u"TS Blocker"));
  RETURN_IF_FAILED_AS("ConnectPinToFilter(pPin, m_flts[KxFLTTsBlocker], true)",
                      DSH::ConnectPinToFilter(build.graph.Get(), pin.Get(), blocker.Get(), true));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::MainBuildSubGraph(LONG graphType, KxGraphBuild& build) {
  if (graphType > KxGraphType_Capture) {
    log(1, "Graph type %d: capture back-end not available", static_cast<int>(graphType));
    return E_NOTIMPL;
  }
  ComPtr<IBaseFilter> front = FilterOf(build, KxFLTTsBlocker);
  if (!front) front = FilterOf(build, KxFLTNetworkReceiver);
  ComPtr<IPin> receiverOut;
  RETURN_IF_FAILED_AS("GetFirstOutputPin(pReceiver, &pReceiverOut)",
                      DSH::GetPin(front.Get(), PINDIR_OUTPUT, 0, receiverOut.Put()));
  if (StreamDumpWanted()) RETURN_IF_FAILED_AS("LoadStreamDump(&pReceiverOut)", LoadStreamDump(build, &receiverOut));

  ComPtr<IBaseFilter> pInfSplitter;
  RETURN_IF_FAILED_AS("DSH::CreateFilterByClassId(CLSID_InfTee, &pInfSplitter)",
                      DSH::CreateFilterByClassId(CLSID_InfTee, pInfSplitter.Put()));
  RETURN_IF_FAILED_AS("AddFilterToGraph(pInfSplitter, L\"InfTee\")",
                      DSH::AddFilterToGraph(build.graph.Get(), pInfSplitter.Get(), u"InfTee"));
  RETURN_IF_FAILED_AS("ConnectPinToFilter(pReceiverOut, pInfSplitter, true)",
                      DSH::ConnectPinToFilter(build.graph.Get(), receiverOut.Get(), pInfSplitter.Get(), true));
  RETURN_IF_FAILED_AS("LoadBDADemultiplexer(pInfSplitter)", LoadBDADemultiplexer(build, pInfSplitter.Get()));
  ComPtr<IPin> pPin;
  RETURN_IF_FAILED_AS("GetFreeOutputPin(pInfSplitter, &pPin)",
                      DSH::FindFreePin(pInfSplitter.Get(), PINDIR_OUTPUT, nullptr, 0, pPin.Put()));
  const bool transportStreamCapture =
      graphType == KxGraphType_Capture || m_Settings.Number(KxGraphSetting_OutputFormat) == kOutputFormatTs;
  if (transportStreamCapture) RETURN_IF_FAILED_AS("LoadSinkFilter(pPin)", LoadSinkFilter(build, pPin.Get()));
  RETURN_IF_FAILED_AS("LoadPsiRenderer(pInfSplitter)", LoadPsiRenderer(build, pInfSplitter.Get()));

  ComPtr<IPin> pVideoOut, pAudioOut;
  RETURN_IF_FAILED_AS("RenderBDADemultiplexer(&pVideoOut, &pAudioOut)",
                      RenderBDADemultiplexer(build, &pVideoOut, &pAudioOut));
  if (m_Settings.Has(KxGraphSetting_VideoRenderer) && pVideoOut)
    RETURN_IF_FAILED_AS("BuildVideoPreviewGraph(pVideoOut)", BuildVideoPreviewGraph(build, pVideoOut.Get()));
  if (m_Settings.Has(KxGraphSetting_AudioRenderer) && pAudioOut)
    RETURN_IF_FAILED_AS("BuildAudioPreviewGraph(pAudioOut)", BuildAudioPreviewGraph(build, pAudioOut.Get()));
  RETURN_IF_FAILED_AS("DeleteAllUnconnectedPins()", DeleteAllUnconnectedPins(build));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::LoadStreamDump(KxGraphBuild& build, ComPtr<IPin>* receiverOut) {
  ComPtr<IBaseFilter> dump;
  RETURN_IF_FAILED_AS("DSH::CreateFilterByClassId(CLSID_StreamDumpFilter, &m_flts[KxFLTVTestFilter])",
                      DSH::CreateFilterByClassId(CLSID_StreamDumpFilter, dump.Put()));
  RETURN_IF_FAILED_AS("AddFilterToGraph(m_flts[KxFLTVTestFilter], L\"VTest\")",
                      AddFilter(build, KxFLTVTestFilter, dump.Get(), u"VTest"));
  RETURN_IF_FAILED_AS("ConnectPinToFilter(pReceiverOut, m_flts[KxFLTVTestFilter], true)",
                      DSH::ConnectPinToFilter(build.graph.Get(), receiverOut->Get(), dump.Get(), true));
  ComPtr<IPin> out;
  RETURN_IF_FAILED_AS("GetFirstOutputPin(m_flts[KxFLTVTestFilter], &pReceiverOut)",
                      DSH::GetPin(dump.Get(), PINDIR_OUTPUT, 0, out.Put()));
  *receiverOut = out;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::LoadBDADemultiplexer(KxGraphBuild& build, IBaseFilter* source) {
  ComPtr<IBaseFilter> demux;
  RETURN_IF_FAILED_AS("DSH::CreateFilterByClassId(CLSID_MPEG2Demultiplexer, &m_flts[KxFLTMpeg2Demux])",
                      DSH::CreateFilterByClassId(CLSID_MPEG2Demultiplexer, demux.Put()));
  RETURN_IF_FAILED_AS("AddFilterToGraph(m_flts[KxFLTMpeg2Demux], L\"MPEG2 Demux\")",
                      AddFilter(build, KxFLTMpeg2Demux, demux.Get(), u"MPEG2 Demux"));
  RETURN_IF_FAILED_AS("ConnectFilters(pSource, m_flts[KxFLTMpeg2Demux])",
                      DSH::ConnectFilters(build.graph.Get(), source, demux.Get()));

  BStr moniker;
  RETURN_IF_FAILED(m_pVideoDevice->get_MonikerName(moniker.Put()));
  const std::u16string device(moniker.View());
  // A device never tuned yet gets its stream pins when channel control
  // rebuilds the graph for its first channel.
  if (!DeviceRecordTable::Has(device, KxDeviceRecord_VideoPid)) return S_OK;
  const LONG videoPid = static_cast<LONG>(DeviceRecordTable::Get(device, KxDeviceRecord_VideoPid));
  const bool ac3 = DeviceRecordTable::Get(device, KxDeviceRecord_Ac3) != 0;
  const LONG audioPid = static_cast<LONG>(DeviceRecordTable::Get(device, KxDeviceRecord_AudioPid));
  const LONG videoType = static_cast<LONG>(DeviceRecordTable::Get(device, KxDeviceRecord_VideoStreamType));
  const LONG audioType = static_cast<LONG>(DeviceRecordTable::Get(device, KxDeviceRecord_AudioStreamType));

  ComPtr<IMpeg2Demultiplexer> control;
  RETURN_IF_FAILED_AS("m_flts[KxFLTMpeg2Demux].QueryInterface(&pDemux)", demux.As(control));
  std::vector<ComPtr<IPin>> pins;
  RETURN_IF_FAILED(demux->EnumPins(&pins));
  std::u16string videoName, audioName;
  for (const ComPtr<IPin>& pin : pins) {
    PIN_DIRECTION direction;
    if (FAILED(pin->QueryDirection(&direction)) || direction != PINDIR_OUTPUT) continue;
    if (PinOffers(pin.Get(), MEDIATYPE_Video)) pin->QueryId(&videoName);
    if (PinOffers(pin.Get(), MEDIATYPE_Audio)) pin->QueryId(&audioName);
  }
  if (!videoName.empty()) control->DeleteOutputPin(videoName.c_str());
  if (!audioName.empty()) control->DeleteOutputPin(audioName.c_str());

  const AM_MEDIA_TYPE videoMediaType = DSH::VideoMediaTypeOfStreamType(videoType);
  const AM_MEDIA_TYPE audioMediaType = DSH::AudioMediaTypeOfStreamType(audioType, ac3);
  ComPtr<IPin> videoPin, audioPin;
  RETURN_IF_FAILED_AS("pDemux->CreateOutputPin(&mtVideo, L\"Video\", &pVideoPin)",
                      control->CreateOutputPin(&videoMediaType, u"Video", videoPin.Put()));
  RETURN_IF_FAILED_AS("pDemux->CreateOutputPin(&mtAudio, L\"Audio\", &pAudioPin)",
                      control->CreateOutputPin(&audioMediaType, u"Audio", audioPin.Put()));
  // A radio channel has no video PID: 0 would feed the PAT to the decoder.
  if (IsElementaryStreamPid(videoPid))
    RETURN_IF_FAILED_AS("pVideoPidMap->MapPID(1, &ulVideoPid, MEDIA_ELEMENTARY_STREAM)",
                        DSH::MapPinPID(videoPin.Get(), videoPid, MEDIA_ELEMENTARY_STREAM));
  if (IsElementaryStreamPid(audioPid))
    RETURN_IF_FAILED_AS("pAudioPidMap->MapPID(1, &ulAudioPid, MEDIA_ELEMENTARY_STREAM)",
                        DSH::MapPinPID(audioPin.Get(), audioPid, MEDIA_ELEMENTARY_STREAM));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::LoadSinkFilter(KxGraphBuild& build, IPin* pin) {
  if (IBaseFilter* sink = OutputSinkFilter()) {
    RETURN_IF_FAILED_AS("AddFilterToGraph(m_pSinkFilter, L\"Sink\")",
                        DSH::AddFilterToGraph(build.graph.Get(), sink, u"Sink"));
    RETURN_IF_FAILED_AS("ConnectPinToFilter(pPin, m_pSinkFilter, false)",
                        DSH::ConnectPinToFilter(build.graph.Get(), pin, sink, false));
    return S_OK;
  }
  if (IUnknown* callbackObject = TransportStreamCallback()) {
    ComPtr<IBaseFilter> sink;
    RETURN_IF_FAILED_AS("LoadTransportStreamCallbackFilter(&m_flts[KxFLTTransportStreamSink])",
                        CTransportStreamSinkFilter::CreateFilter(sink.Put()));
    ComPtr<IKxTransportStreamSinkControl> control;
    RETURN_IF_FAILED_AS("m_flts[KxFLTTransportStreamSink].QueryInterface(&pSinkControl)", sink.As(control));
    ComPtr<ITransportStreamSinkCallback> callback = QueryAs<ITransportStreamSinkCallback>(callbackObject);
    RETURN_IF_FAILED_AS("pSinkControl->SetCallback(m_pTransportStreamCallback)", control->SetCallback(callback.Get()));
    RETURN_IF_FAILED_AS("AddFilterToGraph(m_flts[KxFLTTransportStreamSink], L\"TransportStreamSink\")",
                        AddFilter(build, KxFLTTransportStreamSink, sink.Get(), u"TransportStreamSink"));
    RETURN_IF_FAILED_AS("ConnectPinToFilter(pPin, m_flts[KxFLTTransportStreamSink], false)",
                        DSH::ConnectPinToFilter(build.graph.Get(), pin, sink.Get(), false));
    return S_OK;
  }
  auto writer = ComObject<CFileWriterFilter>::Make();
  if (!writer) return E_OUTOFMEMORY;
  const std::u16string path = m_Settings.Text(KxGraphSetting_CaptureFilePath);
  RETURN_IF_FAILED_AS("pFileSink->SetFileName(bstrCaptureFilePath, NULL)", writer->SetFileName(path.c_str(), nullptr));
  RETURN_IF_FAILED_AS("AddFilterToGraph(pFileWriter, L\"File Writer\")",
                      DSH::AddFilterToGraph(build.graph.Get(), writer.Get(), u"File Writer"));
  RETURN_IF_FAILED_AS("ConnectPinToFilter(pPin, pFileWriter, false)",
                      DSH::ConnectPinToFilter(build.graph.Get(), pin, writer.Get(), false));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::LoadPsiRenderer(KxGraphBuild& build, IBaseFilter* source) {
  ComPtr<IPin> pin;
  RETURN_IF_FAILED_AS("GetFreeOutputPin(pSource, &pPin)",
                      DSH::FindFreePin(source, PINDIR_OUTPUT, nullptr, 0, pin.Put()));
  ComPtr<IBaseFilter> renderer;
  RETURN_IF_FAILED_AS("CPsiRendererFilter::CreateFilter(&m_flts[KxFLTMpegPsiReader])",
                      CPsiRendererFilter::CreateFilter(renderer.Put()));
  RETURN_IF_FAILED_AS("AddFilterToGraph(m_flts[KxFLTMpegPsiReader], L\"PSI Renderer\")",
                      AddFilter(build, KxFLTMpegPsiReader, renderer.Get(), u"PSI Renderer"));
  RETURN_IF_FAILED_AS("ConnectPinToFilter(pPin, m_flts[KxFLTMpegPsiReader], true)",
                      DSH::ConnectPinToFilter(build.graph.Get(), pin.Get(), renderer.Get(), true));
  LONG eDevType = 0;
  RETURN_IF_FAILED_AS("m_pVideoDevice->get_Type(&eDevType)", m_pVideoDevice->get_DeviceType(&eDevType));
  LONG networkType = -1;
  switch (eDevType) {
    case KxCaptureDeviceType_Dvbs: networkType = PsiRenderer_NetworkType_Dvbs; break;
    case KxCaptureDeviceType_Dvbc: networkType = PsiRenderer_NetworkType_Dvbc; break;
    case KxCaptureDeviceType_Dvbt: networkType = PsiRenderer_NetworkType_Dvbt; break;
    case KxCaptureDeviceType_Atsc: networkType = PsiRenderer_NetworkType_Atsc; break;
    default: return S_OK;
  }
  ComPtr<IMpeg2PsiReader> reader;
  RETURN_IF_FAILED_AS("m_flts[KxFLTMpegPsiReader].QueryInterface(&pPsiReader)", renderer.As(reader));
  RETURN_IF_FAILED_AS("pPsiReader->Init(eNetworkType)", reader->Init(networkType));
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::RenderBDADemultiplexer(KxGraphBuild& build, ComPtr<IPin>* videoOut,
                                                           ComPtr<IPin>* audioOut) {
  // Section pins would go to a transport information filter, which this
  // platform lacks: left unconnected, they are deleted with the others.
  std::vector<ComPtr<IPin>> pins;
  RETURN_IF_FAILED(FilterOf(build, KxFLTMpeg2Demux)->EnumPins(&pins));
  for (const ComPtr<IPin>& pin : pins) {
    PIN_DIRECTION direction;
    if (FAILED(pin->QueryDirection(&direction)) || direction != PINDIR_OUTPUT) continue;
    if (!*videoOut && PinOffers(pin.Get(), MEDIATYPE_Video)) *videoOut = pin;
    if (!*audioOut && PinOffers(pin.Get(), MEDIATYPE_Audio)) *audioOut = pin;
  }
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::BuildVideoPreviewGraph(KxGraphBuild& build, IPin* pin) {
  ComPtr<IPin> pOutPin;
  RETURN_IF_FAILED_AS("LoadMpegVideoDecoder(pPin, &pOutPin)",
                      DSH::LoadDecoder(build.graph.Get(), pin, CLSID_NullVideoDecoder, u"Video Decoder", pOutPin.Put()));
  ComPtr<IBaseFilter> renderer;
  RETURN_IF_FAILED_AS("ConnectPinToVMR(pOutPin, false, &m_flts[KxFLTVideoRenderer])",
                      DSH::ConnectPinToRenderer(build.graph.Get(), pOutPin.Get(), CLSID_NullVideoRenderer,
                                                u"Video Renderer", renderer.Put()));
  build.filters[KxFLTVideoRenderer] = renderer;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::BuildAudioPreviewGraph(KxGraphBuild& build, IPin* pin) {
  ComPtr<IPin> pOutPin;
  RETURN_IF_FAILED_AS("LoadMpegAudioDecoder(pPin, &pOutPin)",
                      DSH::LoadDecoder(build.graph.Get(), pin, CLSID_NullAudioDecoder, u"Audio Decoder", pOutPin.Put()));
  ComPtr<IBaseFilter> renderer;
  RETURN_IF_FAILED_AS("ConnectAudioPinToRenderer(pOutPin)",
                      DSH::ConnectPinToRenderer(build.graph.Get(), pOutPin.Get(), CLSID_NullAudioRenderer,
                                                u"Audio Renderer", renderer.Put()));
  build.filters[kAudioRendererRole] = renderer;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::DeleteAllUnconnectedPins(KxGraphBuild& build) {
  return DSH::DeleteAllUnconnectedPins(FilterOf(build, KxFLTMpeg2Demux).Get());
}
