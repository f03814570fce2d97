// A vendor module with one plug-in for DVB-T tuning and conditional access,
// for devices made by "Acme".
#include "GraphManager/RecordingDevicePlugin.h"

extern "C" __attribute__((visibility("default"))) HRESULT CreateDevicePluginInstance(IKxDevicePlugin** plugin) {
  return ComObject<CRecordingDevicePlugin>::CreateAndQuery(plugin, KxDPCapability_TuneDvbt | KxDPCapability_CA,
                                                           "acme-terrestrial-ca", "Acme", S_OK);
}
