#include "dtvhost/PluginLibrary.h"

#include <dlfcn.h>
#include <fmt/format.h>

#include "dtvhost/HostError.h"
#include "platform/os/ElfModule.h"

namespace {

std::string LastDlError() {
  const char* text = dlerror();
  return text ? text : "unknown error";
}

}  // namespace

PluginLibrary::PluginLibrary(const std::filesystem::path& path) {
  std::string why;
  bool unreadable = false;
  if (!IsLoadableModule(path, why, &unreadable)) {
    if (unreadable) throw HostError(fmt::format("cannot load plug-in {}: {}", path.string(), why));
    throw HostError(fmt::format("not a plug-in: {} ({})", path.string(), why));
  }
  m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m_handle) throw HostError(fmt::format("cannot load plug-in {}: {}", path.string(), LastDlError()));
  m_create = reinterpret_cast<CreateTvPluginInstanceFn>(dlsym(m_handle, kCreateTvPluginInstanceName));
  m_canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(dlsym(m_handle, kDllCanUnloadNowName));
  if (!m_create || !m_canUnloadNow) {
    dlclose(m_handle);
    throw HostError(fmt::format("{} is not a TV plug-in: it lacks {} or {}", path.string(),
                                kCreateTvPluginInstanceName, kDllCanUnloadNowName));
  }
}

PluginLibrary::~PluginLibrary() {
  // Unloading under a live object would leave it without its code.
  if (m_canUnloadNow() == S_OK) dlclose(m_handle);
}

std::filesystem::path PluginLibrary::DefaultPath() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) throw HostError("cannot find the running executable: " + error.message());
  return exe.parent_path() / "libDigitalTvPlugin.so";
}

ComPtr<IKxTvPlugin> PluginLibrary::CreatePlugin() const {
  ComPtr<IKxTvPlugin> plugin;
  CheckResult(m_create(plugin.PutVoid()), kCreateTvPluginInstanceName);
  return plugin;
}
