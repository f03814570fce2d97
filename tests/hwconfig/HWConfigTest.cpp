#include <gtest/gtest.h>

#include <cstdio>

#include "Devices/KxSystemConfiguration.h"
#include "hwconfig/HWConfig.h"
#include "hwconfig/RunDevices.h"
#include "platform/bda/Topology.h"
#include "platform/com/Utf.h"
#include "support/DeviceTestEnvironment.h"
#include "support/FakeFrontend.h"

namespace {
BStr Category() { return BStr(Utf8ToUtf16(GuidToString(KSCATEGORY_BDA_NETWORK_TUNER))); }

std::string Value(IKxHWInfo* info, LONG type) {
  BStr value;
  EXPECT_EQ(info->get_ValueString(type, value.Put()), S_OK);
  return value.Utf8();
}

struct Listed {
  std::string moniker, friendlyName, manufacturer, hardwareId, physicalId, driver;
};

std::vector<Listed> List(IKxHWConfig* config) {
  std::vector<Listed> listed;
  BStr category = Category();
  LONG count = 0;
  EXPECT_EQ(config->GetFilterCount(category.Get(), &count), S_OK);
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxFilterInfo> filter;
    ComPtr<IKxHWInfo> info;
    EXPECT_EQ(config->GetFilterByIndex(category.Get(), i, filter.Put()), S_OK);
    EXPECT_EQ(config->GetHWInfo(filter.Get(), info.Put()), S_OK);
    BStr moniker, friendly, physical;
    filter->get_MonikerName(moniker.Put());
    filter->get_FriendlyName(friendly.Put());
    EXPECT_EQ(config->GetPhysicalDeviceID(info.Get(), physical.Put()), S_OK);
    listed.push_back({moniker.Utf8(), friendly.Utf8(), Value(info.Get(), KxHWValueType_Manufacturer),
                      Value(info.Get(), KxHWValueType_HardwareID), physical.Utf8(),
                      Value(info.Get(), KxHWValueType_DriverDescription)});
  }
  return listed;
}

std::string Capture(IKxSystemConfiguration* configuration) {
  char* text = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  const auto devices = ListDevices(configuration);
  EXPECT_TRUE(devices.has_value());
  PrintDevices(devices.value_or(std::vector<DeviceListing>{}), out);
  std::fclose(out);
  std::string result(text, size);
  std::free(text);
  return result;
}
}  // namespace

TEST(HWConfig, ListsLinuxDvbAdaptersWithTheirSysfsValuesThenVirtualTuners) {
  DeviceTestEnvironment env;
  FakeFrontendIo io(env.dir);
  for (const auto& spec : ThreeAdapters()) io.Add(spec);
  const std::string description = env.dir.Write(
      "virtual.xml",
      R"(<virtualTuners><tuner id="t" system="DVB-C" friendlyName="Cable" manufacturer="M" hardwareId="H"
          physicalDeviceId="P" driver="virtualdvb"/></virtualTuners>)");

  ComPtr<IKxHWConfig> config;
  ASSERT_EQ(CreateHWConfig({io.DevRoot(), io.SysRoot(), {description}, false}, config.Put()), S_OK);
  const auto listed = List(config.Get());
  ASSERT_EQ(listed.size(), 5u);
  EXPECT_EQ(listed[0].moniker, io.DevRoot() + "/dvb/adapter0/frontend0");
  EXPECT_EQ(listed[0].friendlyName, "STV0903 DVB-S2");
  EXPECT_EQ(listed[0].manufacturer, "Hauppauge");
  EXPECT_EQ(listed[0].hardwareId, "USB\\VID_2040&PID_5B10");
  EXPECT_EQ(listed[0].physicalId, "pci0000:00/0000:00:14.0/usb1/1-0");
  EXPECT_EQ(listed[0].driver, "dvb_usb_fake");
  // The DVB-T/T2/C stick is two devices of one piece of hardware.
  for (size_t i : {1u, 2u}) {
    EXPECT_EQ(listed[i].hardwareId, "USB\\VID_1ADE&PID_3038");
    EXPECT_EQ(listed[i].manufacturer, "PCTV Systems");
  }
  EXPECT_EQ(listed[1].moniker, io.DevRoot() + "/dvb/adapter1/frontend0#dvb-t");
  EXPECT_EQ(listed[1].friendlyName, "Silicon Labs Si2168 (DVB-T)");
  EXPECT_EQ(listed[2].moniker, io.DevRoot() + "/dvb/adapter1/frontend0#dvb-c");
  EXPECT_EQ(listed[2].friendlyName, "Silicon Labs Si2168 (DVB-C)");
  EXPECT_EQ(listed[3].hardwareId, "USB\\VID_2040&PID_0265");
  EXPECT_EQ(listed[4].moniker, "virtualdvb:" + description + "#t");
  EXPECT_EQ(listed[4].physicalId, "P");

  BStr other(u"{00000000-0000-0000-0000-000000000000}");
  LONG count = -1;
  EXPECT_EQ(config->GetFilterCount(other.Get(), &count), S_OK);
  EXPECT_EQ(count, 0);
  ComPtr<IKxFilterInfo> filter;
  BStr category = Category();
  EXPECT_EQ(config->GetFilterByIndex(category.Get(), 5, filter.Put()), E_INVALIDARG);
}

TEST(HWConfig, SystemConfigurationDetectsEachAdapterTypeThroughTheFakeFrontend) {
  DeviceTestEnvironment env;
  FakeFrontendIo io(env.dir);
  for (const auto& spec : ThreeAdapters()) io.Add(spec);
  const std::string description = env.dir.Write("none.xml", "<virtualTuners/>");
  ComPtr<IKxHWConfig> config;
  ASSERT_EQ(CreateHWConfig({io.DevRoot(), io.SysRoot(), {description}, false}, config.Put()), S_OK);
  ComPtr<IUnknown> object;
  ASSERT_EQ(CreateSystemConfigurationObject(config.Get(), object.Put()), S_OK);
  auto configuration = QueryAs<IKxSystemConfiguration>(object.Get());

  const std::string listing = Capture(configuration.Get());
  EXPECT_NE(listing.find("0: STV0903 DVB-S2\n   delivery system: DVB-S\n"), std::string::npos) << listing;
  // A DVB-C network can be scanned on the DVB-T/C stick.
  EXPECT_NE(listing.find("1: Silicon Labs Si2168 (DVB-T)\n   delivery system: DVB-T\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("2: Silicon Labs Si2168 (DVB-C)\n   delivery system: DVB-C\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("3: LG Electronics LGDT3306A\n   delivery system: ATSC\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("hardware id:     USB\\VID_1ADE&PID_3038"), std::string::npos) << listing;
  EXPECT_NE(listing.find("in use:          no"), std::string::npos) << listing;
}

TEST(HWConfig, DefaultConfigurationListsTheBundledDemoTunersThenTheGivenOnes) {
  DeviceTestEnvironment env;
  ::unsetenv("DTV_VIRTUAL_TUNERS");
  const std::string extra =
      env.dir.Write("extra.xml", R"(<virtualTuners><tuner id="x" system="ATSC" friendlyName="Extra"/></virtualTuners>)");
  ComPtr<IKxHWConfig> config;
  ASSERT_EQ(CreateHWConfig({env.dir / "no-dev", env.dir / "no-sys", {extra}}, config.Put()), S_OK);
  ComPtr<IUnknown> object;
  ASSERT_EQ(CreateSystemConfigurationObject(config.Get(), object.Put()), S_OK);
  const std::string listing = Capture(QueryAs<IKxSystemConfiguration>(object.Get()).Get());
  EXPECT_NE(listing.find("0: Virtual DVB-T Tuner 1\n   delivery system: DVB-T\n   moniker:         virtualdvb:"),
            std::string::npos)
      << listing;
  EXPECT_NE(listing.find("1: Virtual DVB-T Tuner 2"), std::string::npos) << listing;
  EXPECT_NE(listing.find("manufacturer:    Vexa Virtual"), std::string::npos) << listing;
  EXPECT_NE(listing.find("2: Extra\n   delivery system: ATSC"), std::string::npos) << listing;

  // The settings entry replaces the bundled demo.
  ::setenv("DTV_VIRTUAL_TUNERS", extra.c_str(), 1);
  ComPtr<IKxHWConfig> configured;
  ASSERT_EQ(CreateHWConfig({env.dir / "no-dev", env.dir / "no-sys", {}}, configured.Put()), S_OK);
  ::unsetenv("DTV_VIRTUAL_TUNERS");
  EXPECT_EQ(List(configured.Get()).size(), 1u);
}
