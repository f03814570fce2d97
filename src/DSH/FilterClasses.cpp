#include <new>

#include "DSH/DSH.h"
#include "platform/bda/NetworkProvider.h"
#include "platform/graph/FileWriterFilter.h"
#include "platform/graph/InfTee.h"
#include "platform/graph/Mpeg2Demultiplexer.h"
#include "platform/graph/NullAudioDecoder.h"
#include "platform/graph/NullAudioRenderer.h"
#include "platform/graph/NullRenderer.h"
#include "platform/graph/NullVideoDecoder.h"
#include "platform/graph/StreamDumpFilter.h"

namespace {
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);

using Factory = HRESULT (*)(IBaseFilter** filter);

template <class Filter>
HRESULT Create(IBaseFilter** filter) {
  return ComObject<Filter>::CreateAndQuery(filter);
}

template <const CLSID& Clsid, const GUID& MajorType>
HRESULT CreateRenderer(IBaseFilter** filter) {
  return ComObject<CNullRenderer>::CreateAndQuery(filter, Clsid, MajorType);
}

template <const CLSID& Clsid>
HRESULT CreateNetworkProvider(IBaseFilter** filter) {
  return CNetworkProvider::Create(Clsid, filter);
}

struct FilterClass {
  const CLSID& clsid;
  Factory create;
};

const FilterClass kFilterClasses[] = {
    {CLSID_ATSCNetworkProvider, CreateNetworkProvider<CLSID_ATSCNetworkProvider>},
    {CLSID_DVBTNetworkProvider, CreateNetworkProvider<CLSID_DVBTNetworkProvider>},
    {CLSID_DVBSNetworkProvider, CreateNetworkProvider<CLSID_DVBSNetworkProvider>},
    {CLSID_DVBCNetworkProvider, CreateNetworkProvider<CLSID_DVBCNetworkProvider>},
    {CLSID_NetworkProvider, CreateNetworkProvider<CLSID_NetworkProvider>},
    {CLSID_FileWriter, Create<CFileWriterFilter>},
    {CLSID_InfTee, Create<CInfTee>},
    {CLSID_MPEG2Demultiplexer, Create<CMpeg2Demultiplexer>},
    {CLSID_StreamDumpFilter, Create<CStreamDumpFilter>},
    {CLSID_NullVideoDecoder, Create<CNullVideoDecoder>},
    {CLSID_NullAudioDecoder, Create<CNullAudioDecoder>},
    {CLSID_NullVideoRenderer, CreateRenderer<CLSID_NullVideoRenderer, MEDIATYPE_Video>},
    {CLSID_NullAudioRenderer, Create<CNullAudioRenderer>},
};
}  // namespace

namespace DSH {
HRESULT CreateFilterByClassId(const CLSID& clsid, IBaseFilter** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  for (const FilterClass& entry : kFilterClasses) {
    if (entry.clsid != clsid) continue;
    try {
      return entry.create(filter);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }
  return REGDB_E_CLASSNOTREG;
}
}  // namespace DSH
