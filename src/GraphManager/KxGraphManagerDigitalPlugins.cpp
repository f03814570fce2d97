// The host's view of the device plug-ins loaded for the graph.
#include "GraphManager/KxGraphManagerDigitalBase.h"
#include "platform/com/Utf.h"

namespace {
HRESULT CopyText(const std::string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = BStr(Utf8ToUtf16(text)).Detach();
  return S_OK;
}
}  // namespace

HRESULT CKxGraphManagerDigitalBase::PluginRecordAt(LONG index, const DevicePluginRecord** record,
                                                       std::shared_ptr<CDevicePluginManager>* owner) {
  *owner = DevicePlugins();
  if (!*owner) return E_POINTER;
  const auto& loaded = (*owner)->Loaded();
  const auto& builtIn = (*owner)->BuiltIn();
  if (index < 0 || static_cast<size_t>(index) >= loaded.size() + builtIn.size()) return E_INVALIDARG;
  const size_t i = static_cast<size_t>(index);
  *record = i < loaded.size() ? &loaded[i] : &builtIn[i - loaded.size()];
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::get_DevicePluginCount(LONG* count) {
  if (!count) return E_POINTER;
  const auto plugins = DevicePlugins();
  *count = plugins ? static_cast<LONG>(plugins->Loaded().size() + plugins->BuiltIn().size()) : 0;
  return S_OK;
}

HRESULT CKxGraphManagerDigitalBase::get_DevicePluginCapabilities(LONG index, LONG* caps) {
  if (!caps) return E_POINTER;
  const DevicePluginRecord* record = nullptr;
  std::shared_ptr<CDevicePluginManager> owner;
  const HRESULT hr = PluginRecordAt(index, &record, &owner);
  if (SUCCEEDED(hr)) *caps = record->m_lCaps;
  return hr;
}

HRESULT CKxGraphManagerDigitalBase::get_DevicePluginDescription(LONG index, BSTR* text) {
  const DevicePluginRecord* record = nullptr;
  std::shared_ptr<CDevicePluginManager> owner;
  const HRESULT hr = PluginRecordAt(index, &record, &owner);
  return FAILED(hr) ? hr : CopyText(record->m_strDescription, text);
}

HRESULT CKxGraphManagerDigitalBase::get_DevicePluginManufacturer(LONG index, BSTR* text) {
  const DevicePluginRecord* record = nullptr;
  std::shared_ptr<CDevicePluginManager> owner;
  const HRESULT hr = PluginRecordAt(index, &record, &owner);
  return FAILED(hr) ? hr : CopyText(record->m_strManufacturer, text);
}

HRESULT CKxGraphManagerDigitalBase::get_DevicePluginFileName(LONG index, BSTR* text) {
  const DevicePluginRecord* record = nullptr;
  std::shared_ptr<CDevicePluginManager> owner;
  const HRESULT hr = PluginRecordAt(index, &record, &owner);
  return FAILED(hr) ? hr : CopyText(record->m_strFileName, text);
}

HRESULT CKxGraphManagerDigitalBase::FindDevicePlugin(LONG capability, IUnknown** plugin) {
  if (!plugin) return E_POINTER;
  *plugin = nullptr;
  const auto plugins = DevicePlugins();
  if (!plugins) return E_POINTER;
  ComPtr<IKxDevicePlugin> found;
  const HRESULT hr = plugins->FindDevicePlugin(capability, found.Put());
  if (hr != S_OK) return hr;
  return found->QueryInterface(IidOf<IUnknown>(), reinterpret_cast<void**>(plugin));
}
