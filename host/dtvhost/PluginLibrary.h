#pragma once
// A loaded plug-in module and its two exports.
#include <filesystem>

#include "interfaces/IKxTvPlugin.h"
#include "interfaces/TvPluginExports.h"
#include "platform/com/ComPtr.h"

class PluginLibrary {
 public:
  // Loads the module; HostError when it cannot be loaded or lacks an export.
  explicit PluginLibrary(const std::filesystem::path& path);
  // Unloads the module only when it says no object of it is alive.
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // libDigitalTvPlugin.so next to the running executable.
  static std::filesystem::path DefaultPath();

  ComPtr<IKxTvPlugin> CreatePlugin() const;
  HRESULT CanUnloadNow() const { return m_canUnloadNow(); }

 private:
  void* m_handle = nullptr;
  CreateTvPluginInstanceFn m_create = nullptr;
  DllCanUnloadNowFn m_canUnloadNow = nullptr;
};
