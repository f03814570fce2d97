#pragma once
// System configurations over the host's hardware configuration with virtual
// tuners described in a test directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "Devices/BdaTempStore.h"
#include "Devices/KxSystemConfiguration.h"
#include "hwconfig/HWConfig.h"
#include "platform/com/Utf.h"
#include "support/DeviceTestEnvironment.h"

class DeviceTest : public ::testing::Test {
 protected:
  // A DVB-T, a DVB-S2, a DVB-T with the special USB ids and one without a
  // demodulator.
  static constexpr const char* kDescription = R"(<virtualTuners>
  <tuner id="t" system="DVB-T" friendlyName="Terrestrial" manufacturer="Acme" hardwareId="VIRTUAL\T"
         physicalDeviceId="phys-t"/>
  <tuner id="s" system="DVB-S2" friendlyName="Satellite" manufacturer="e3c Tech" hardwareId="USB\VID_18B4&amp;PID_1689"/>
  <tuner id="broken" friendlyName="Broken"/>
  <tuner id="e3c" system="DVB-T" friendlyName="Stick" manufacturer="e3C tech" hardwareId="USB\VID_18B4&amp;PID_1689&amp;MI_00"/>
</virtualTuners>)";

  void SetUp() override { m_description = env.dir.Write("tuners.xml", kDescription); }

  std::string Moniker(const std::string& id) const { return "virtualdvb:" + m_description + "#" + id; }

  ComPtr<IKxHWConfig> NewHWConfig() {
    ComPtr<IKxHWConfig> hw;
    EXPECT_EQ(CreateHWConfig({env.dir / "dev", env.dir / "sys", {m_description}, false}, hw.Put()), S_OK);
    return hw;
  }

  ComPtr<IKxSystemConfiguration> NewConfiguration(ComPtr<IKxHWConfig> hw = nullptr) {
    if (!hw) hw = NewHWConfig();
    ComPtr<IUnknown> object;
    EXPECT_EQ(CreateSystemConfigurationObject(hw.Get(), object.Put()), S_OK);
    return QueryAs<IKxSystemConfiguration>(object.Get());
  }

  static std::vector<ComPtr<IKxCaptureDevice>> Devices(IKxSystemConfiguration* configuration) {
    LONG count = 0;
    EXPECT_EQ(configuration->get_DeviceCount(&count), S_OK);
    std::vector<ComPtr<IKxCaptureDevice>> devices(static_cast<size_t>(count));
    for (LONG i = 0; i < count; ++i) EXPECT_EQ(configuration->GetDevice(i, devices[i].Put()), S_OK);
    return devices;
  }

  static std::string Text(IKxCaptureDevice* device, HRESULT (IKxCaptureDevice::*get)(BSTR*)) {
    BStr value;
    EXPECT_EQ((device->*get)(value.Put()), S_OK);
    return value.Utf8();
  }

  static LONG Type(IKxCaptureDevice* device) {
    LONG type = -1;
    EXPECT_EQ(device->get_DeviceType(&type), S_OK);
    return type;
  }

  static std::string StoreBytes() {
    std::ifstream in(BdaTempStore::Path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  static void WriteStoreUtf16(const std::string& utf8) {
    std::string bytes;
    for (char16_t c : Utf8ToUtf16(utf8)) {
      bytes.push_back(static_cast<char>(c & 0xFF));
      bytes.push_back(static_cast<char>(c >> 8));
    }
    std::ofstream(BdaTempStore::Path(), std::ios::binary) << bytes;
  }

  static std::string StoreText() {
    const std::string bytes = StoreBytes();
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
      text.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8));
    return Utf16ToUtf8(text);
  }

  // Without the description no virtual tuner filter can be created (a
  // hardware configuration made before still lists the tuners).
  void RemoveDescription() { std::filesystem::remove(m_description); }

  DeviceTestEnvironment env;
  std::string m_description;
};
