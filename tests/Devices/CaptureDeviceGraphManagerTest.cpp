#include "Devices/DeviceFixture.h"
#include "Devices/DeviceLocks.h"
#include "interfaces/IKxGraphManager.h"
#include "interfaces/IKxGraphManagerDigital.h"
#include "interfaces/IKxLnbControl.h"
#include "support/ClockDriving.h"

TEST_F(DeviceTest, EveryDigitalDeviceCreatesAGraphManagerThatBuildsOnIt) {
  ScopedManualClock clock;
  const auto devices = Devices(NewConfiguration().Get());
  ASSERT_FALSE(devices.empty());
  for (const auto& device : devices) {
    const std::string name = Text(device.Get(), &IKxCaptureDevice::get_FriendlyName);
    EXPECT_EQ(device->CreateGraphManager(nullptr), E_POINTER) << name;
    ComPtr<IUnknown> created;
    ASSERT_EQ(device->CreateGraphManager(created.Put()), S_OK) << name;
    const auto manager = QueryAs<IKxGraphManager>(created.Get());
    ASSERT_TRUE(manager) << name;
    EXPECT_TRUE(QueryAs<IKxEpgManager>(created.Get())) << name;
    EXPECT_TRUE(QueryAs<IKxGraphManagerChannelControl>(created.Get())) << name;
    LONG type = 0;
    ASSERT_EQ(device->get_DeviceType(&type), S_OK);
    // Satellite devices alone keep a list of LNBs.
    EXPECT_EQ(QueryAs<IKxLnbControl>(created.Get()) != nullptr, type == KxCaptureDeviceType_Dvbs) << name;

    const std::u16string moniker = Utf8ToUtf16(Text(device.Get(), &IKxCaptureDevice::get_MonikerName));
    ASSERT_EQ(manager->BuildGraph(KxGraphType_Playback), S_OK) << name;
    EXPECT_EQ(DeviceLocks::Query(moniker).level, 1) << name;
    EXPECT_EQ(manager->DeleteGraph(), S_OK) << name;
    EXPECT_FALSE(DeviceLocks::Query(moniker).inUse) << name;
  }
}
