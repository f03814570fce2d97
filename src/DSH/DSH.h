#pragma once
// Helpers around the media-graph platform, as the graph manager uses them.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"
#include "platform/graph/DemuxInterfaces.h"
#include "platform/graph/GraphInterfaces.h"

namespace DSH {
// Creates the tuner filter a moniker name stands for: a Linux DVB frontend
// path ("/dev/dvb/adapterN/frontendM", with an optional delivery suffix) or a
// virtual tuner ("virtualdvb:...").
HRESULT CreateFilterByMonikerName(BSTR monikerName, IUnknown** filter);

// Creates one of the standard filters by its class id; REGDB_E_CLASSNOTREG
// for a class that is not one of them.
HRESULT CreateFilterByClassId(const CLSID& clsid, IBaseFilter** filter);

// Adds `filter` to `graph` as `name`, logging "AddFilterToGraph: %s".
HRESULT AddFilterToGraph(IFilterGraph* graph, IBaseFilter* filter, const char16_t* name);

// The `index`-th pin of the direction that is not connected and, when
// `majorType` is given, offers that major type; VFW_E_NOT_FOUND when there is none.
HRESULT FindFreePin(IBaseFilter* filter, PIN_DIRECTION direction, const GUID* majorType, int index, IPin** pin);
// The `index`-th pin of the direction, connected or not.
HRESULT GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int index, IPin** pin);

// Connects `output` to the first free input of `to` that takes it (only the
// first free input when `firstFreeInputOnly`).
HRESULT ConnectPinToFilter(IFilterGraph* graph, IPin* output, IBaseFilter* to, bool firstFreeInputOnly);
// Connects the first free output of `from` that `to` takes.
HRESULT ConnectFilters(IFilterGraph* graph, IBaseFilter* from, IBaseFilter* to);

// The media types of a demultiplexer pin for an MPEG stream type; AC-3
// audio when `ac3` is set, whatever the stream type says.
AM_MEDIA_TYPE VideoMediaTypeOfStreamType(LONG streamType);
AM_MEDIA_TYPE AudioMediaTypeOfStreamType(LONG streamType, bool ac3);

// Adds the decoder of `decoderClass` as `name` behind `pin`; its output pin.
HRESULT LoadDecoder(IFilterGraph* graph, IPin* pin, const CLSID& decoderClass, const char16_t* name, IPin** outPin);
// Adds the renderer of `rendererClass` as `name` and connects `pin` to it.
HRESULT ConnectPinToRenderer(IFilterGraph* graph, IPin* pin, const CLSID& rendererClass, const char16_t* name,
                             IBaseFilter** renderer);

// The first pin of `direction` offering `majorType`, connected or not.
HRESULT FindPinOfType(IBaseFilter* filter, PIN_DIRECTION direction, const GUID& majorType, IPin** pin);

// The PID map of a demultiplexer output pin.
HRESULT UnmapAllPIDs(IPin* pin);
HRESULT MapPinPID(IPin* pin, LONG pid, MEDIA_SAMPLE_CONTENT content);

// Deletes every output pin of the demultiplexer that is not connected.
HRESULT DeleteAllUnconnectedPins(IBaseFilter* demultiplexer);
}  // namespace DSH
