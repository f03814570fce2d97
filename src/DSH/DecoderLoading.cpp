#include "DSH/DSH.h"

namespace DSH {
HRESULT LoadDecoder(IFilterGraph* graph, IPin* pin, const CLSID& decoderClass, const char16_t* name, IPin** outPin) {
  if (!graph || !pin || !outPin) return E_POINTER;
  ComPtr<IBaseFilter> decoder;
  HRESULT hr = CreateFilterByClassId(decoderClass, decoder.Put());
  if (SUCCEEDED(hr)) hr = AddFilterToGraph(graph, decoder.Get(), name);
  if (SUCCEEDED(hr)) hr = ConnectPinToFilter(graph, pin, decoder.Get(), false);
  if (SUCCEEDED(hr)) hr = GetPin(decoder.Get(), PINDIR_OUTPUT, 0, outPin);
  return hr;
}

HRESULT ConnectPinToRenderer(IFilterGraph* graph, IPin* pin, const CLSID& rendererClass, const char16_t* name,
                             IBaseFilter** renderer) {
  if (!graph || !pin || !renderer) return E_POINTER;
  ComPtr<IBaseFilter> created;
  HRESULT hr = CreateFilterByClassId(rendererClass, created.Put());
  if (SUCCEEDED(hr)) hr = AddFilterToGraph(graph, created.Get(), name);
  if (SUCCEEDED(hr)) hr = ConnectPinToFilter(graph, pin, created.Get(), false);
  if (SUCCEEDED(hr)) *renderer = created.Detach();
  return hr;
}
}  // namespace DSH
