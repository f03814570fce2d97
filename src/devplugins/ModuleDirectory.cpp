#include "devplugins/ModuleDirectory.h"

#include <dlfcn.h>

std::string OwnModuleDirectory() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&OwnModuleDirectory), &info) || !info.dli_fname) return {};
  const std::string path = info.dli_fname;
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
