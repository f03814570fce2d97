#include "dtvhost/PluginInfo.h"

#include "dtvhost/HostError.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Utf.h"

PluginInfo ReadPluginInfo(IKxTvPlugin* plugin) {
  PluginInfo info;
  BStr name;
  CheckResult(plugin->get_Name(name.Put()), "IKxTvPlugin::get_Name");
  info.name = name.Utf8();
  CheckResult(plugin->get_PluginVersion(&info.version), "IKxTvPlugin::get_PluginVersion");

  ComPtr<IKxTuningDataResource> resource;
  CheckResult(plugin->QueryInterface(IidOf<IKxTuningDataResource>(), resource.PutVoid()),
              "QueryInterface(IKxTuningDataResource)");
  for (const char* type : kBuiltInTuningDataTypes) {
    const BStr bstrType(Utf8ToUtf16(type));
    BStr xml;
    CheckResult(resource->GetTuningDataFromResource(bstrType.Get(), xml.Put()),
                std::string("GetTuningDataFromResource(") + type + ")");
    info.lists.push_back({type, SummariseFrequencyList(xml.View())});
  }
  return info;
}
