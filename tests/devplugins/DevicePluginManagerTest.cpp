#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "FakeDevicePlugin.h"
#include "FakeGraphManager.h"
#include "devplugins/DevicePluginManager.h"
#include "devplugins/KxDPTuneRequestCommand.h"
#include "interfaces/IKxCaptureDevice.h"
#include "devplugins/ModuleDirectory.h"

namespace fs = std::filesystem;

namespace {
bool IsLoaded(const fs::path& module) {
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

// A directory standing in for the plug-in's own: the three vendor modules,
// a file that only looks like a module, a module cut in half (loading it
// would fault inside dlopen) and a file that is not one.
class PluginDirectory {
 public:
  explicit PluginDirectory(bool withModules) {
    m_path = fs::temp_directory_path() / ("dp-modules-" + std::to_string(getpid()) + "-" + std::to_string(++s_count));
    fs::create_directories(m_path);
    if (!withModules) return;
    for (const char* module : {DP_INDEXED_MODULE, DP_SINGLE_MODULE, DP_ZERO_COUNT_MODULE})
      fs::copy_file(module, m_path / fs::path(module).filename());
    std::ofstream(m_path / "broken.so") << "not a shared object";
    fs::copy_file(DP_INDEXED_MODULE, m_path / "truncated.so");
    fs::resize_file(m_path / "truncated.so", fs::file_size(DP_INDEXED_MODULE) / 2);
    std::ofstream(m_path / "readme.txt") << "text";
  }
  ~PluginDirectory() { fs::remove_all(m_path); }
  std::string Dir() const { return m_path.string() + "/"; }
  fs::path Module(const char* built) const { return m_path / fs::path(built).filename(); }

 private:
  static inline int s_count = 0;
  fs::path m_path;
};

class DevicePluginManagerTest : public testing::Test {
 protected:
  ComPtr<IKxDevicePlugin> m_builtIn = MakeBuiltIn();
  FakeGraphManager m_graph;

  static ComPtr<IKxDevicePlugin> MakeBuiltIn() {
    ComPtr<IKxDevicePlugin> plugin;
    MakeFakePlugin(plugin.Put(), 60, "built-in", "Vexa");
    return plugin;
  }
  CFakeDevicePlugin& BuiltIn() { return *static_cast<CFakeDevicePlugin*>(m_builtIn.Get()); }

  static std::string Description(const CDevicePluginManager& manager, LONG capability) {
    ComPtr<IKxDevicePlugin> plugin;
    if (manager.FindDevicePlugin(capability, plugin.Put()) != S_OK) return "none";
    BStr text;
    plugin->get_Description(text.Put());
    return text.Utf8();
  }
};
}  // namespace

TEST_F(DevicePluginManagerTest, VendorPluginsServeTheirManufacturerAndCapabilities) {
  const PluginDirectory dir(true);
  const CDevicePluginManager manager(&m_graph, {m_builtIn}, dir.Dir());
  ASSERT_EQ(3u, manager.Loaded().size());  // the plug-in failing Init is dropped
  ASSERT_EQ(1u, manager.BuiltIn().size());
  // Device "Acme Digital Tuner": ACME and "acme digital" match, Zeta does not.
  EXPECT_EQ("acme-terrestrial", Description(manager, 8));
  EXPECT_EQ("acme-terrestrial", Description(manager, 16));
  EXPECT_EQ("acme-ca", Description(manager, 64));  // through the single-instance export
  EXPECT_EQ("built-in", Description(manager, 4));
  EXPECT_EQ("built-in", Description(manager, 32));

  m_graph.m_manufacturer = "ZETA Corp";
  const CDevicePluginManager zeta(&m_graph, {}, dir.Dir());
  EXPECT_EQ("zeta-satellite", Description(zeta, 64));
  EXPECT_EQ("zeta-satellite", Description(zeta, 4));
  EXPECT_EQ("none", Description(zeta, 8));
}

TEST_F(DevicePluginManagerTest, PluginsAreInitialisedAndRecorded) {
  const PluginDirectory dir(true);
  const CDevicePluginManager manager(&m_graph, {m_builtIn}, dir.Dir());
  for (const auto& record : manager.Loaded()) {
    EXPECT_EQ(S_OK, record.m_pDevicePlugin->ExecuteCommand(KxDPEvent_TuneRequest, nullptr)) << record.m_strDescription;
    EXPECT_EQ(dir.Dir(), record.m_strFileName.substr(0, dir.Dir().size()));
  }
  EXPECT_EQ(1, BuiltIn().m_initCalls);
  EXPECT_EQ(60, manager.BuiltIn().front().m_lCaps);
  EXPECT_EQ("Vexa", manager.BuiltIn().front().m_strManufacturer);
}

TEST_F(DevicePluginManagerTest, ModulesAreUnloadedAtDestruction) {
  const PluginDirectory dir(true);
  {
    const CDevicePluginManager manager(&m_graph, {m_builtIn}, dir.Dir());
    for (const char* module : {DP_INDEXED_MODULE, DP_SINGLE_MODULE, DP_ZERO_COUNT_MODULE})
      EXPECT_TRUE(IsLoaded(dir.Module(module))) << module;
    EXPECT_EQ(0, BuiltIn().m_uninitCalls);
  }
  for (const char* module : {DP_INDEXED_MODULE, DP_SINGLE_MODULE, DP_ZERO_COUNT_MODULE})
    EXPECT_FALSE(IsLoaded(dir.Module(module))) << module;
  EXPECT_EQ(1, BuiltIn().m_uninitCalls);
  EXPECT_EQ(E_UNEXPECTED, m_builtIn->ExecuteCommand(KxDPEvent_CA, nullptr));  // setup dropped
}

// A vendor plug-in that holds on to its setup object past Uninit.
class CClingingPlugin : public CFakeDevicePlugin {
 public:
  CClingingPlugin() : CFakeDevicePlugin(8, "clinging", "Vexa") {}
  HRESULT Init(IKxDPSetup* setup) override {
    m_pKept = setup;
    return CFakeDevicePlugin::Init(setup);
  }
  ComPtr<IKxDPSetup> m_pKept;
};

TEST_F(DevicePluginManagerTest, ASetupObjectKeptAfterTheManagerFailsCleanly) {
  const PluginDirectory dir(false);
  auto plugin = ComObject<CClingingPlugin>::Make();
  m_graph.AddFilter(12);
  {
    const CDevicePluginManager manager(&m_graph, {ComPtr<IKxDevicePlugin>(plugin.Get())}, dir.Dir());
    Variant value;
    EXPECT_EQ(S_OK, plugin->m_pKept->get_Property(0, &value));
  }
  Variant value;
  EXPECT_EQ(E_UNEXPECTED, plugin->m_pKept->get_Property(0, &value));
  EXPECT_EQ(E_UNEXPECTED, plugin->m_pKept->put_Property(KxDPSetupProperty_GraphState, Variant(int32_t{2})));
}

TEST_F(DevicePluginManagerTest, WithoutVendorModulesTheBuiltInTunesAndNothingDoesCA) {
  const PluginDirectory dir(false);
  const CDevicePluginManager manager(&m_graph, {m_builtIn}, dir.Dir());
  EXPECT_TRUE(manager.Loaded().empty());
  for (LONG capability : {4, 8, 16, 32}) EXPECT_EQ("built-in", Description(manager, capability)) << capability;
  IKxDevicePlugin* untouched = reinterpret_cast<IKxDevicePlugin*>(0x1);
  EXPECT_EQ(S_FALSE, manager.FindDevicePlugin(64, &untouched));
  EXPECT_EQ(reinterpret_cast<IKxDevicePlugin*>(0x1), untouched);
  EXPECT_EQ(E_POINTER, manager.FindDevicePlugin(8, nullptr));
}

TEST_F(DevicePluginManagerTest, NoManufacturerMeansNoPlugins) {
  const PluginDirectory dir(true);
  m_graph.m_manufacturerResult = E_FAIL;
  const CDevicePluginManager manager(&m_graph, {m_builtIn}, dir.Dir());
  EXPECT_TRUE(manager.Loaded().empty());
  EXPECT_TRUE(manager.BuiltIn().empty());
  EXPECT_EQ(0, BuiltIn().m_initCalls);
  EXPECT_EQ("none", Description(manager, 8));
}

TEST_F(DevicePluginManagerTest, NetworkBitsFollowDeviceType) {
  const PluginDirectory dir(false);
  const struct {
    LONG deviceType;
    LONG bits;
  } cases[] = {{5, 8}, {6, 2}, {7, 1}, {8, 4}, {0, 0}, {9, 0}};
  for (const auto& c : cases) {
    m_graph.m_deviceType = c.deviceType;
    EXPECT_EQ(c.bits, CDevicePluginManager(&m_graph, {}, dir.Dir()).DeviceNetworkBits()) << c.deviceType;
  }
}

TEST(ModuleDirectory, IsTheDirectoryOfTheModuleHoldingTheCode) {
  // In this test the executable stands in for the plug-in's shared object.
  const fs::path self = fs::canonical("/proc/self/exe");
  EXPECT_EQ(fs::canonical(OwnModuleDirectory()), self.parent_path());
  EXPECT_EQ('/', OwnModuleDirectory().back());
}

TEST_F(DevicePluginManagerTest, VendorTerrestrialPluginReceivesTheDvbtTuneCommand) {
  const PluginDirectory dir(true);
  const CDevicePluginManager manager(&m_graph, {m_builtIn}, dir.Dir());
  ComPtr<IKxDevicePlugin> plugin;
  ASSERT_EQ(manager.FindDevicePlugin(KxDPCapability_TuneDvbt, plugin.Put()), S_OK);
  KxDPTuneRequestParam param;
  int32_t* fields = &param.lnbPosition;
  for (int i = 0; i < 23; ++i) fields[i] = -1;
  param.carrierFrequency = 522000;
  param.bandwidth = 8;
  param.networkId = 8916;
  param.serviceId = 28006;
  param.transportStreamId = 2;
  ComPtr<IKxDPCommand> command;
  ASSERT_EQ(CKxDPTuneRequestCommand::CreateInstance(KxCaptureDeviceType_Dvbt, param, command.Put()), S_OK);
  ASSERT_EQ(plugin->ExecuteCommand(KxDPEvent_TuneRequest, command.Get()), S_OK);
  const auto& vendor = *static_cast<CFakeDevicePlugin*>(plugin.Get());
  BStr description;
  plugin->get_Description(description.Put());
  EXPECT_EQ(description.Utf8(), "acme-terrestrial");
  EXPECT_EQ(vendor.m_command, KxDPCommand_TuneRequestDvbt);
  const std::map<LONG, LONG> expected = {{KxDPCommandParam_TuneRequest20_CarrierFrequency, 522000},
                                         {KxDPCommandParam_TuneRequest20_Bandwidth, 8},
                                         {KxDPCommandParam_TuneRequest20_NID, 8916},
                                         {KxDPCommandParam_TuneRequest20_SID, 28006},
                                         {KxDPCommandParam_TuneRequest20_TID, 2}};
  for (const auto& [id, value] : expected) EXPECT_EQ(vendor.Param(id), std::optional<LONG>(value)) << id;
}
