// The module's two exports; every other symbol of the library is hidden.
#include <type_traits>

#include "Main/DigitalTvPlugin.h"
#include "interfaces/TvPluginExports.h"
#include "logging/LogFile.h"
#include "platform/com/ModuleLock.h"

#define DTV_EXPORT extern "C" __attribute__((visibility("default")))

DTV_EXPORT HRESULT CreateTvPluginInstance(void** ppPlugin) {
  if (!ppPlugin) return E_POINTER;
  return ComObject<CDigitalTvPlugin>::CreateAndQuery(reinterpret_cast<IKxTvPlugin**>(ppPlugin));
}

DTV_EXPORT HRESULT DllCanUnloadNow() {
  const LONG count = ModuleLock::Value();
  const HRESULT hr = count != 0 ? S_FALSE : S_OK;
  log(1, "DigitalTvPlugin::DllCanUnloadNow: hr=%d, count=%d", hr, count);
  return hr;
}

static_assert(std::is_same_v<decltype(&CreateTvPluginInstance), CreateTvPluginInstanceFn>);
static_assert(std::is_same_v<decltype(&DllCanUnloadNow), DllCanUnloadNowFn>);
