#include "LoadedPlugin.h"
#include "interfaces/IKxCaptureDevice.h"

namespace {

// A host object that only counts the references taken on it.
class CountingUnknown : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override {
    ++addRefCalls;
    return ++refs;
  }
  ULONG Release() override { return --refs; }
  ULONG refs = 0;
  int addRefCalls = 0;
};

using PluginObject = LoadedPlugin;

TEST_F(PluginObject, CreateRejectsNullOutPointer) { EXPECT_EQ(s_create(nullptr), E_POINTER); }

TEST_F(PluginObject, CanUnloadOnlyWhenEveryObjectIsReleased) {
  ASSERT_EQ(s_canUnloadNow(), S_OK);
  ComPtr<IKxTvPlugin> plugin = CreatePlugin();
  EXPECT_EQ(s_canUnloadNow(), S_FALSE);
  {
    ComPtr<IKxTuningDataResource> resource = QueryAs<IKxTuningDataResource>(plugin.Get());
    ASSERT_TRUE(resource);
    plugin.Reset();
    EXPECT_EQ(s_canUnloadNow(), S_FALSE) << "the second interface keeps the object alive";
  }
  EXPECT_EQ(s_canUnloadNow(), S_OK);
}

TEST_F(PluginObject, NameAndVersion) {
  ComPtr<IKxTvPlugin> plugin = CreatePlugin();
  BStr name;
  ASSERT_EQ(plugin->get_Name(name.Put()), S_OK);
  EXPECT_EQ(name.View(), u"DigitalTvPlugin");
  LONG version = 0;
  ASSERT_EQ(plugin->get_PluginVersion(&version), S_OK);
  EXPECT_EQ(version, 1);
  EXPECT_EQ(plugin->get_Name(nullptr), E_POINTER);
  EXPECT_EQ(plugin->get_PluginVersion(nullptr), E_POINTER);
}

TEST_F(PluginObject, HoldsOneReferenceOnTheHardwareConfiguration) {
  CountingUnknown first, second;
  ComPtr<IKxTvPlugin> plugin = CreatePlugin();
  EXPECT_EQ(plugin->SetHardwareConfig(nullptr), E_POINTER);

  ASSERT_EQ(plugin->SetHardwareConfig(&first), S_OK);
  ASSERT_EQ(plugin->SetHardwareConfig(&first), S_OK);
  EXPECT_EQ(first.refs, 1u);
  EXPECT_EQ(first.addRefCalls, 1) << "the same pointer again is not touched";

  ASSERT_EQ(plugin->SetHardwareConfig(&second), S_OK);
  EXPECT_EQ(first.refs, 0u);
  EXPECT_EQ(second.refs, 1u);

  EXPECT_EQ(plugin->ReleaseHardwareConfig(), S_OK);
  EXPECT_EQ(second.refs, 0u);
  EXPECT_EQ(plugin->ReleaseHardwareConfig(), S_OK) << "nothing held is not an error";

  ASSERT_EQ(plugin->SetHardwareConfig(&first), S_OK);
  plugin.Reset();
  EXPECT_EQ(first.refs, 0u) << "the last release lets go of the configuration";
}

TEST_F(PluginObject, SystemConfigurationExistsWithoutHardwareConfiguration) {
  ComPtr<IKxTvPlugin> plugin = CreatePlugin();
  EXPECT_EQ(plugin->CreateSystemConfiguration(nullptr), E_POINTER);
  ComPtr<IUnknown> configuration;
  ASSERT_EQ(plugin->CreateSystemConfiguration(configuration.Put()), S_OK);
  ComPtr<IKxSystemConfiguration> system = QueryAs<IKxSystemConfiguration>(configuration.Get());
  ASSERT_TRUE(system);
  LONG count = 0;
  EXPECT_TRUE(FAILED(system->get_DeviceCount(&count))) << "its operations fail without a configuration";
}

TEST_F(PluginObject, AnswersExactlyItsInterfaces) {
  ComPtr<IKxTvPlugin> plugin = CreatePlugin();
  ComPtr<IUnknown> identity = QueryAs<IUnknown>(plugin.Get());
  ComPtr<IKxTuningDataResource> resource = QueryAs<IKxTuningDataResource>(plugin.Get());
  ASSERT_TRUE(identity);
  ASSERT_TRUE(resource);
  EXPECT_EQ(QueryAs<IUnknown>(resource.Get()), identity) << "one identity through every interface";
  EXPECT_EQ(QueryAs<IKxTvPlugin>(resource.Get()), plugin);

  const GUID others[] = {
      GUID_NULL,
      MakeGuid("{154FC95F-566A-4F54-838E-102A72A3CE41}"),  // the system configuration's
      MakeGuid("{9C4DE146-AC81-421E-B53A-F6B3A5EC684F}"),
  };
  for (const GUID& iid : others) {
    void* out = &plugin;
    EXPECT_EQ(plugin->QueryInterface(iid, &out), E_NOINTERFACE) << GuidToString(iid);
    EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(plugin->QueryInterface(IidOf<IKxTvPlugin>(), nullptr), E_POINTER);
}

}  // namespace
