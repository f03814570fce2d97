#pragma once
// Loads the device plug-ins for one graph manager (vendor modules next to
// the plug-in's own module, then the built-in ones) and picks the plug-in
// that serves a capability for the device. Used under the graph manager's
// locking; it has no lock of its own.
#include <string>
#include <vector>

#include "devplugins/DPGraphManager.h"
#include "devplugins/KxDPSetup.h"
#include "interfaces/IKxDevicePlugin.h"
#include "platform/com/ComPtr.h"

struct DevicePluginRecord {
  ComPtr<IKxDevicePlugin> m_pDevicePlugin;
  LONG m_lCaps = 0;
  std::string m_strDescription;
  std::string m_strManufacturer;
  std::string m_strFileName;  // empty for a built-in plug-in
};

class CDevicePluginManager {
 public:
  // `builtIn` are the built-in plug-ins (BuiltInDevicePlugins()), tried after every vendor one.
  // `moduleDirectory` (with trailing '/') is searched for "*.so" modules.
  CDevicePluginManager(IDPGraphManager* graphManager, std::vector<ComPtr<IKxDevicePlugin>> builtIn,
                       const std::string& moduleDirectory);
  CDevicePluginManager(IDPGraphManager* graphManager, std::vector<ComPtr<IKxDevicePlugin>> builtIn);
  CDevicePluginManager(const CDevicePluginManager&) = delete;
  CDevicePluginManager& operator=(const CDevicePluginManager&) = delete;
  ~CDevicePluginManager();

  // S_OK with a new reference to the plug-in serving `capability`; S_FALSE
  // (and `out` untouched) when none does.
  HRESULT FindDevicePlugin(LONG capability, IKxDevicePlugin** out) const;

  // Uninitialises and releases every plug-in, then unloads the modules.
  void Uninit();

  const std::vector<DevicePluginRecord>& Loaded() const { return m_vLoaded; }
  const std::vector<DevicePluginRecord>& BuiltIn() const { return m_vBuiltIn; }
  LONG DeviceNetworkBits() const { return m_lDeviceNetworkBits; }

 private:
  void LoadModulePlugins(const std::string& directory);
  // Both export schemes in turn; true when the module delivered a plug-in.
  bool LoadByIndex(const std::string& path);
  bool LoadSingle(const std::string& path);
  // Asks the four set-up questions; false (traced) at the first failure.
  bool SetUpPlugin(DevicePluginRecord& plugin);

  std::vector<DevicePluginRecord> m_vLoaded;
  std::vector<DevicePluginRecord> m_vBuiltIn;
  std::vector<void*> m_vModules;
  LONG m_lDeviceNetworkBits = 0;
  ComPtr<ComObject<CKxDPSetup>> m_pSetup;
  std::string m_strManufacturer;
};
