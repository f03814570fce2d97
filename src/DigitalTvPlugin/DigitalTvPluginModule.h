#pragma once
// The module object: one per process, constructed when the library is loaded.
// The lock count is the component layer's ModuleLock.
#include "DigitalTvPlugin/KxDigitalModule.h"

class CDigitalTvPluginModule : public CKxDigitalModule {
 public:
  CDigitalTvPluginModule() { g_MainModule = this; }
  ~CDigitalTvPluginModule() { g_MainModule = nullptr; }
  CDigitalTvPluginModule(const CDigitalTvPluginModule&) = delete;
  CDigitalTvPluginModule& operator=(const CDigitalTvPluginModule&) = delete;
};
