#include <vector>

#include "DSH/DSH.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
bool IsConnected(IPin* pin) {
  ComPtr<IPin> other;
  return pin->ConnectedTo(other.Put()) == S_OK;
}

bool Offers(IPin* pin, const GUID& majorType) {
  std::vector<AM_MEDIA_TYPE> types;
  if (FAILED(pin->EnumMediaTypes(&types))) return false;
  for (const AM_MEDIA_TYPE& type : types)
    if (type.majortype == majorType) return true;
  return false;
}

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter, PIN_DIRECTION direction) {
  std::vector<ComPtr<IPin>> all, matching;
  if (FAILED(filter->EnumPins(&all))) return matching;
  for (const ComPtr<IPin>& pin : all) {
    PIN_DIRECTION d;
    if (pin && SUCCEEDED(pin->QueryDirection(&d)) && d == direction) matching.push_back(pin);
  }
  return matching;
}
}  // namespace

namespace DSH {
HRESULT AddFilterToGraph(IFilterGraph* graph, IBaseFilter* filter, const char16_t* name) {
  if (!graph || !filter || !name) return E_POINTER;
  log(1, "AddFilterToGraph: %s", Utf16ToUtf8(name).c_str());
  return graph->AddFilter(filter, name);
}

HRESULT FindFreePin(IBaseFilter* filter, PIN_DIRECTION direction, const GUID* majorType, int index, IPin** pin) {
  if (!filter || !pin) return E_POINTER;
  *pin = nullptr;
  for (const ComPtr<IPin>& candidate : PinsOf(filter, direction)) {
    if (IsConnected(candidate.Get()) || (majorType && !Offers(candidate.Get(), *majorType))) continue;
    if (index-- == 0) return candidate.CopyTo(pin);
  }
  return VFW_E_NOT_FOUND;
}

HRESULT FindPinOfType(IBaseFilter* filter, PIN_DIRECTION direction, const GUID& majorType, IPin** pin) {
  if (!filter || !pin) return E_POINTER;
  *pin = nullptr;
  for (const ComPtr<IPin>& candidate : PinsOf(filter, direction))
    if (Offers(candidate.Get(), majorType)) return candidate.CopyTo(pin);
  return VFW_E_NOT_FOUND;
}

HRESULT GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int index, IPin** pin) {
  if (!filter || !pin) return E_POINTER;
  *pin = nullptr;
  const std::vector<ComPtr<IPin>> pins = PinsOf(filter, direction);
  if (index < 0 || static_cast<size_t>(index) >= pins.size()) return VFW_E_NOT_FOUND;
  return pins[static_cast<size_t>(index)].CopyTo(pin);
}

HRESULT ConnectPinToFilter(IFilterGraph* graph, IPin* output, IBaseFilter* to, bool firstFreeInputOnly) {
  if (!graph || !output || !to) return E_POINTER;
  HRESULT hr = VFW_E_NOT_FOUND;
  for (const ComPtr<IPin>& input : PinsOf(to, PINDIR_INPUT)) {
    if (IsConnected(input.Get())) continue;
    hr = graph->ConnectDirect(output, input.Get(), nullptr);
    if (SUCCEEDED(hr) || firstFreeInputOnly) return hr;
  }
  return hr;
}

HRESULT ConnectFilters(IFilterGraph* graph, IBaseFilter* from, IBaseFilter* to) {
  if (!graph || !from || !to) return E_POINTER;
  HRESULT hr = VFW_E_NOT_FOUND;
  for (const ComPtr<IPin>& output : PinsOf(from, PINDIR_OUTPUT)) {
    if (IsConnected(output.Get())) continue;
    hr = ConnectPinToFilter(graph, output.Get(), to, false);
    if (SUCCEEDED(hr)) return hr;
  }
  return hr;
}

HRESULT DeleteAllUnconnectedPins(IBaseFilter* demultiplexer) {
  if (!demultiplexer) return E_POINTER;
  ComPtr<IMpeg2Demultiplexer> control = QueryAs<IMpeg2Demultiplexer>(demultiplexer);
  if (!control) return E_NOINTERFACE;
  for (const ComPtr<IPin>& pin : PinsOf(demultiplexer, PINDIR_OUTPUT)) {
    ComPtr<IPin> other;
    if (pin->ConnectedTo(other.Put()) != VFW_E_NOT_CONNECTED) continue;
    std::u16string name;
    if (SUCCEEDED(pin->QueryId(&name))) {
      const HRESULT hr = control->DeleteOutputPin(name.c_str());
      if (FAILED(hr)) return hr;
    }
  }
  return S_OK;
}

HRESULT UnmapAllPIDs(IPin* pin) {
  const ComPtr<IMPEG2PIDMap> map = QueryAs<IMPEG2PIDMap>(pin);
  if (!map) return E_NOINTERFACE;
  std::vector<PID_MAP> mapped;
  if (const HRESULT hr = map->EnumPIDMap(&mapped); FAILED(hr)) return hr;
  std::vector<ULONG> pids;
  for (const PID_MAP& entry : mapped) pids.push_back(entry.ulPID);
  if (pids.empty()) return S_OK;
  return map->UnmapPID(static_cast<ULONG>(pids.size()), pids.data());
}

HRESULT MapPinPID(IPin* pin, LONG pid, MEDIA_SAMPLE_CONTENT content) {
  const ComPtr<IMPEG2PIDMap> map = QueryAs<IMPEG2PIDMap>(pin);
  if (!map) return E_NOINTERFACE;
  const ULONG pids[] = {static_cast<ULONG>(pid)};
  return map->MapPID(1, pids, content);
}
}  // namespace DSH
