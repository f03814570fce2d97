#include "devplugins/DevicePluginManager.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>

#include "devplugins/KxDPSetup.h"
#include "devplugins/ModuleDirectory.h"
#include "platform/os/ElfModule.h"
#include "interfaces/IKxCaptureDevice.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
constexpr const char* kLogFile = "DevicePluginManager";

LONG NetworkBitsFor(LONG deviceType) {
  switch (deviceType) {
    case KxCaptureDeviceType_Atsc: return 8;
    case KxCaptureDeviceType_Dvbt: return 2;
    case KxCaptureDeviceType_Dvbs: return 1;
    case KxCaptureDeviceType_Dvbc: return 4;
    default: return 0;
  }
}

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

bool Traced(HRESULT hr, const char* expression) {
  traceFailure(hr, expression, kLogFile);
  return SUCCEEDED(hr);
}

class Library {
 public:
  explicit Library(const std::string& path) : m_handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library() {
    if (m_handle) dlclose(m_handle);
  }
  explicit operator bool() const { return m_handle != nullptr; }
  template <class Fn>
  Fn Symbol(const char* name) const {
    return reinterpret_cast<Fn>(dlsym(m_handle, name));
  }
  void* Keep() { return std::exchange(m_handle, nullptr); }

 private:
  void* m_handle;
};
}  // namespace

CDevicePluginManager::CDevicePluginManager(IDPGraphManager* graphManager,
                                           std::vector<ComPtr<IKxDevicePlugin>> builtIn)
    : CDevicePluginManager(graphManager, std::move(builtIn), OwnModuleDirectory()) {}

CDevicePluginManager::CDevicePluginManager(IDPGraphManager* graphManager,
                                           std::vector<ComPtr<IKxDevicePlugin>> builtIn,
                                           const std::string& moduleDirectory) {
  if (!graphManager) return;
  LONG deviceType = 0;
  if (SUCCEEDED(graphManager->GetCaptureDeviceType(&deviceType))) m_lDeviceNetworkBits = NetworkBitsFor(deviceType);
  BStr manufacturer;
  if (!Traced(graphManager->GetDeviceManufacturer(manufacturer.Put()),
              "(hr) = (m_pGraphManager->GetDeviceManufacturer(&m_bstrManufacturer))"))
    return;
  m_strManufacturer = manufacturer.Utf8();
  if (!Traced(CKxDPSetup::CreateInstance(graphManager, &m_pSetup),
              "(hr) = (CKxDPSetup::CreateInstance(m_pGraphManager, &m_pSetup))"))
    return;
  LoadModulePlugins(moduleDirectory);
  for (auto& plugin : builtIn) {
    DevicePluginRecord record;
    record.m_pDevicePlugin = std::move(plugin);
    if (record.m_pDevicePlugin && SetUpPlugin(record)) m_vBuiltIn.push_back(std::move(record));
  }
}

CDevicePluginManager::~CDevicePluginManager() { Uninit(); }

void CDevicePluginManager::Uninit() {
  for (auto* list : {&m_vLoaded, &m_vBuiltIn}) {
    for (auto& plugin : *list) plugin.m_pDevicePlugin->Uninit();
    list->clear();
  }
  // Only after every plug-in object is gone: their code lives in the modules.
  for (void* module : m_vModules) dlclose(module);
  m_vModules.clear();
  // A plug-in that kept the setup object finds it detached, not dangling.
  if (m_pSetup) m_pSetup->Detach();
  m_pSetup.Reset();
}

void CDevicePluginManager::LoadModulePlugins(const std::string& directory) {
  if (directory.empty()) return;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() < 3 || name.compare(name.size() - 3, 3, ".so") != 0) continue;
    const std::string path = directory + name;
    std::string why;
    if (!IsLoadableModule(path, why)) {
      log(1, "Device plugin %s skipped: %s", path.c_str(), why.c_str());
      continue;
    }
    if (!LoadByIndex(path)) LoadSingle(path);
  }
}

bool CDevicePluginManager::LoadByIndex(const std::string& path) {
  Library library(path);
  if (!library) return false;
  const auto getCount = library.Symbol<GetDevicePluginCountFn>("GetDevicePluginCount");
  const auto create = library.Symbol<CreateDevicePluginInstanceByIndexFn>("CreateDevicePluginInstanceByIndex");
  if (!getCount || !create) return false;
  LONG count = 0;
  if (!Traced(getCount(&count), "(hr) = (pfnGetDevicePluginCount(&lCount))")) return false;
  bool added = false;
  for (LONG i = 0; i < count; ++i) {
    DevicePluginRecord plugin;
    plugin.m_strFileName = path;
    if (!Traced(create(i, plugin.m_pDevicePlugin.Put()),
                "(hr) = (pfnCreateDevicePluginInstanceByIndex(i, &plugin.m_pDevicePlugin))") ||
        !plugin.m_pDevicePlugin || !SetUpPlugin(plugin))
      continue;
    log(1, "Loaded device plugin. File name: %s, manufacturer: %s", path.c_str(), plugin.m_strManufacturer.c_str());
    m_vLoaded.push_back(std::move(plugin));
    added = true;
  }
  if (added) m_vModules.push_back(library.Keep());
  return added;
}

bool CDevicePluginManager::LoadSingle(const std::string& path) {
  Library library(path);
  if (!library) return false;
  const auto create = library.Symbol<CreateDevicePluginInstanceFn>("CreateDevicePluginInstance");
  if (!create) return false;
  DevicePluginRecord plugin;
  plugin.m_strFileName = path;
  if (!Traced(create(plugin.m_pDevicePlugin.Put()), "(hr) = (pfnCreateDevicePluginInstance(&plugin.m_pDevicePlugin))") ||
      !plugin.m_pDevicePlugin || !SetUpPlugin(plugin))
    return false;
  log(1, "Loaded device plugin. File name: %s, manufacturer: %s", path.c_str(), plugin.m_strManufacturer.c_str());
  m_vLoaded.push_back(std::move(plugin));
  m_vModules.push_back(library.Keep());
  return true;
}

bool CDevicePluginManager::SetUpPlugin(DevicePluginRecord& plugin) {
  IKxDevicePlugin* p = plugin.m_pDevicePlugin.Get();
  BStr description;
  BStr manufacturer;
  if (!Traced(p->get_Capabilities(&plugin.m_lCaps), "(hr) = (plugin.m_pDevicePlugin->get_Capabilities(&plugin.m_lCaps))") ||
      !Traced(p->get_Description(description.Put()),
              "(hr) = (plugin.m_pDevicePlugin->get_Description(&plugin.m_bstrDescription))") ||
      !Traced(p->get_Manufacturer(manufacturer.Put()),
              "(hr) = (plugin.m_pDevicePlugin->get_Manufacturer(&plugin.m_bstrManufacturer))") ||
      !Traced(p->Init(m_pSetup.Get()), "(hr) = (plugin.m_pDevicePlugin->Init(m_pSetup))"))
    return false;
  plugin.m_strDescription = description.Utf8();
  plugin.m_strManufacturer = manufacturer.Utf8();
  return true;
}

HRESULT CDevicePluginManager::FindDevicePlugin(LONG capability, IKxDevicePlugin** out) const {
  if (!out) return E_POINTER;
  const std::string device = UpperCase(m_strManufacturer);
  for (const auto& plugin : m_vLoaded) {
    if ((plugin.m_lCaps & capability) == capability && device.find(UpperCase(plugin.m_strManufacturer)) != std::string::npos) {
      log(1, "Found plugin. Manufacturer: %s, caps: %d", plugin.m_strManufacturer.c_str(), plugin.m_lCaps);
      return plugin.m_pDevicePlugin.CopyTo(out);
    }
  }
  for (const auto& plugin : m_vBuiltIn) {
    if ((plugin.m_lCaps & capability) == capability) {
      log(1, "Found built-in plugin. Manufacturer: %s, caps: %d", plugin.m_strManufacturer.c_str(), plugin.m_lCaps);
      return plugin.m_pDevicePlugin.CopyTo(out);
    }
  }
  return S_FALSE;
}
