#pragma once
// The built plug-in, loaded once per test program as the host loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "interfaces/IKxTvPlugin.h"
#include "interfaces/TvPluginExports.h"
#include "platform/com/ComPtr.h"

class LoadedPlugin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static void* const handle = dlopen(DTV_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    s_create = reinterpret_cast<CreateTvPluginInstanceFn>(dlsym(handle, kCreateTvPluginInstanceName));
    s_canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(dlsym(handle, kDllCanUnloadNowName));
    ASSERT_NE(s_create, nullptr);
    ASSERT_NE(s_canUnloadNow, nullptr);
  }

  static ComPtr<IKxTvPlugin> CreatePlugin() {
    ComPtr<IKxTvPlugin> plugin;
    EXPECT_EQ(s_create(plugin.PutVoid()), S_OK);
    EXPECT_TRUE(plugin);
    return plugin;
  }

  static inline CreateTvPluginInstanceFn s_create = nullptr;
  static inline DllCanUnloadNowFn s_canUnloadNow = nullptr;
};
