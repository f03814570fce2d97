#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "Devices/DeviceFixture.h"
#include "interfaces/IKxTuner.h"
#include "platform/sync/Clock.h"

TEST_F(DeviceTest, EnumerationKeepsDeviceObjectsAndLeavesOutTheDeviceWithoutDemodulator) {
  auto configuration = NewConfiguration();
  const auto first = Devices(configuration.Get());
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(Text(first[0].Get(), &IKxCaptureDevice::get_FriendlyName), "Terrestrial");
  EXPECT_EQ(Text(first[1].Get(), &IKxCaptureDevice::get_FriendlyName), "Satellite");
  EXPECT_EQ(Text(first[2].Get(), &IKxCaptureDevice::get_FriendlyName), "Stick");
  EXPECT_EQ(Type(first[0].Get()), KxCaptureDeviceType_Dvbt);
  EXPECT_EQ(Type(first[1].Get()), KxCaptureDeviceType_Dvbs);

  // Neither the cache nor the filters are needed for devices already known.
  RemoveDescription();
  std::filesystem::remove(BdaTempStore::Path());
  const auto second = Devices(configuration.Get());
  ASSERT_EQ(second.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(second[i].Get(), first[i].Get());
}

TEST_F(DeviceTest, GetDeviceChecksItsIndexAndDoesNotEnumerate) {
  auto configuration = NewConfiguration();
  ComPtr<IKxCaptureDevice> device;
  EXPECT_EQ(configuration->GetDevice(0, device.Put()), E_INVALIDARG);  // nothing enumerated yet
  const auto devices = Devices(configuration.Get());
  EXPECT_EQ(configuration->GetDevice(-1, device.Put()), E_INVALIDARG);
  EXPECT_EQ(configuration->GetDevice(static_cast<LONG>(devices.size()), device.Put()), E_INVALIDARG);
  EXPECT_EQ(configuration->GetDevice(0, nullptr), E_POINTER);
  EXPECT_EQ(configuration->get_DeviceCount(nullptr), E_POINTER);
  LONG flags = -1;
  EXPECT_EQ(configuration->get_Flags(&flags), S_OK);
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(configuration->Reserved1(), E_NOTIMPL);
}

TEST_F(DeviceTest, GetDeviceByMonikerNameFindsTheSameObject) {
  auto configuration = NewConfiguration();
  const auto devices = Devices(configuration.Get());
  ComPtr<IKxCaptureDevice> found;
  BStr moniker(Utf8ToUtf16(Moniker("s")));
  ASSERT_EQ(configuration->GetDeviceByMonikerName(moniker.Get(), found.Put()), S_OK);
  EXPECT_EQ(found.Get(), devices[1].Get());
  BStr otherCase(Utf8ToUtf16(Moniker("S")));
  EXPECT_EQ(configuration->GetDeviceByMonikerName(otherCase.Get(), found.Put()), E_FAIL);
  EXPECT_EQ(configuration->GetDeviceByMonikerName(nullptr, found.Put()), E_POINTER);
  EXPECT_EQ(configuration->GetDeviceByMonikerName(moniker.Get(), nullptr), E_POINTER);
}

TEST_F(DeviceTest, ConfigurationWithoutHardwareConfigurationFailsCleanly) {
  ComPtr<IUnknown> object;
  ASSERT_EQ(CreateSystemConfigurationObject(nullptr, object.Put()), S_OK) << "the object exists all the same";
  LONG unattachedCount = 0;
  EXPECT_EQ(QueryAs<IKxSystemConfiguration>(object.Get())->get_DeviceCount(&unattachedCount), E_POINTER);
  auto bare = ComObject<CKxSystemConfiguration>::Make();
  EXPECT_EQ(bare->Attach(nullptr), E_POINTER);
  LONG count = 0;
  EXPECT_EQ(bare->get_DeviceCount(&count), E_POINTER);
  ComPtr<IKxCaptureDevice> device;
  BStr name(u"x");
  EXPECT_EQ(bare->GetDeviceByMonikerName(name.Get(), device.Put()), E_FAIL);
}

TEST_F(DeviceTest, UnknownTypesAreDetectedOnceAndWrittenToTheStore) {
  Devices(NewConfiguration().Get());
  const std::string bytes = StoreBytes();
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("<\0", 2));  // UTF-16LE, no byte-order mark
  EXPECT_EQ(StoreText(), "<devices><device moniker=\"" + Moniker("t") +
                             "\" type=\"6\" signature=\"DVB-T\"/><device moniker=\"" + Moniker("s") +
                             "\" type=\"7\" signature=\"DVB-S2\"/><device moniker=\"" + Moniker("e3c") +
                             "\" type=\"6\" signature=\"DVB-T\"/></devices>");
}

TEST_F(DeviceTest, ChangedDeviceIsDetectedAgainAndGoneDevicesLeaveTheStore) {
  // "t" was a DVB-C tuner when it was stored; "gone" is no longer listed.
  WriteStoreUtf16("<devices><device moniker=\"" + Moniker("t") +
                  "\" type=\"8\" signature=\"DVB-C\"/><device moniker=\"gone\" type=\"5\" signature=\"ATSC\"/>"
                  "<device moniker=\"" + Moniker("s") + "\" type=\"7\"/></devices>");
  const auto devices = Devices(NewConfiguration().Get());
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(Type(devices[0].Get()), KxCaptureDeviceType_Dvbt);
  const std::string text = StoreText();
  EXPECT_NE(text.find("moniker=\"" + Moniker("t") + "\" type=\"6\" signature=\"DVB-T\""), std::string::npos) << text;
  EXPECT_NE(text.find("moniker=\"" + Moniker("s") + "\" type=\"7\" signature=\"DVB-S2\""), std::string::npos) << text;
  EXPECT_EQ(text.find("gone"), std::string::npos) << text;
}

TEST_F(DeviceTest, StoredTypeIsNotDetectedAgain) {
  WriteStoreUtf16("<devices><device moniker=\"" + Moniker("t") + "\" type=\"8\" signature=\"DVB-T\"/></devices>");
  const auto devices = Devices(NewConfiguration().Get());
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(Type(devices[0].Get()), KxCaptureDeviceType_Dvbc);
  EXPECT_EQ(Type(devices[1].Get()), KxCaptureDeviceType_Dvbs);
}

TEST_F(DeviceTest, UnparsableOrLongerStoreIsReplacedWithoutLeavingItsTail) {
  const std::string cases[] = {
      "not xml at all " + std::string(3000, 'x'),
      "<devices><device moniker=\"gone\" type=\"5\"/></devices>" + std::string(2000, ' ') + "<trailing/>",
      "<devices><device moniker=\"" + Moniker("t") + "\" type=\"6\"/>",
  };
  for (const std::string& old : cases) {
    SCOPED_TRACE(old.substr(0, 40));
    WriteStoreUtf16(old);
    Devices(NewConfiguration().Get());
    const std::string text = StoreText();
    EXPECT_EQ(text.rfind("<devices>", 0), 0u) << text;
    EXPECT_EQ(text.size() - text.rfind("</devices>"), std::string("</devices>").size()) << text;

    BdaTempStore next;
    ASSERT_EQ(next.Open(), S_OK);
    EXPECT_EQ(next.GetDeviceType(Utf8ToUtf16(Moniker("s")), "DVB-S2"), KxCaptureDeviceType_Dvbs);
    EXPECT_EQ(next.GetDeviceType(Utf8ToUtf16(Moniker("e3c")), "DVB-T"), KxCaptureDeviceType_Dvbt);
  }
}

TEST_F(DeviceTest, StoreReadByAnotherIsReadButNotWritten) {
  WriteStoreUtf16("<devices><device moniker=\"" + Moniker("t") + "\" type=\"5\" signature=\"DVB-T\"/></devices>");
  const std::string before = StoreBytes();
  const int reader = ::open(BdaTempStore::Path().c_str(), O_RDONLY);
  ASSERT_EQ(::flock(reader, LOCK_SH), 0);

  BdaTempStore store;
  ASSERT_EQ(store.Open(), S_OK);
  EXPECT_FALSE(store.IsLocked());
  store.Close();

  const auto devices = Devices(NewConfiguration().Get());
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(Type(devices[0].Get()), KxCaptureDeviceType_Atsc);
  EXPECT_EQ(StoreBytes(), before);
  ::close(reader);
}

TEST_F(DeviceTest, StoreHeldExclusivelyIsGivenUpAfterThreeSeconds) {
  BdaTempStore holder;
  ASSERT_EQ(holder.Open(), S_OK);
  ASSERT_TRUE(holder.IsLocked());

  ScopedManualClock manual;
  ManualClock& clock = *manual;
  const uint64_t start = clock.NowMs();
  std::atomic<bool> done{false};
  HRESULT hr = S_OK;
  std::thread opener([&] {
    BdaTempStore store;
    hr = store.Open();
    done = true;
  });
  while (!done) {
    clock.Advance(10);
    std::this_thread::yield();
  }
  opener.join();
  EXPECT_EQ(hr, E_ACCESSDENIED);
  EXPECT_GE(clock.NowMs() - start, 3000u);
}

TEST_F(DeviceTest, DeviceAnswersItsNamesPropertiesAndHardwareValues) {
  const auto devices = Devices(NewConfiguration().Get());
  IKxCaptureDevice* device = devices[0].Get();
  EXPECT_EQ(Text(device, &IKxCaptureDevice::get_MonikerName), Moniker("t"));
  EXPECT_EQ(Text(device, &IKxCaptureDevice::get_Manufacturer), "Acme");

  Variant value;
  ASSERT_EQ(device->get_Property(1, &value), S_OK);
  EXPECT_EQ(value.vt, VT_BOOL);
  EXPECT_EQ(value.boolVal, VARIANT_TRUE);
  ASSERT_EQ(device->get_Property(4, &value), S_OK);
  EXPECT_EQ(value.lVal, 2);
  ASSERT_EQ(device->get_Property(5, &value), S_OK);
  EXPECT_EQ(value.lVal, 323);
  EXPECT_EQ(device->get_Property(2, &value), E_FAIL);
  EXPECT_EQ(device->get_Property(1, nullptr), E_POINTER);

  auto extra = QueryAs<IKxDeviceExtraInfo>(device);
  ASSERT_TRUE(extra);
  ASSERT_EQ(extra->GetExtraInfo(KxDeviceExtraInfo_PhysicalDeviceID, &value), S_OK);
  EXPECT_EQ(std::u16string(value.bstrVal), u"phys-t");
  ASSERT_EQ(extra->GetExtraInfo(KxDeviceExtraInfo_HardwareID, &value), S_OK);
  EXPECT_EQ(std::u16string(value.bstrVal), u"VIRTUAL\\T");
  EXPECT_EQ(extra->GetExtraInfo(7, &value), E_FAIL);
  EXPECT_TRUE(QueryAs<IKxCaptureDevice2>(device));

  ComPtr<IUnknown> created;
  ASSERT_EQ(device->CreateTuner(created.Put()), S_OK);
  EXPECT_TRUE(QueryAs<IKxTuner>(created.Get()));
  EXPECT_TRUE(QueryAs<IKxTunerSetupDvbt>(created.Get()));
  EXPECT_EQ(device->CreateTuner(nullptr), E_POINTER);
}

TEST_F(DeviceTest, SpecialDeviceIsADvbtDeviceWithTheUsbIdsMadeByE3c) {
  const auto devices = Devices(NewConfiguration().Get());
  const LONG expected[] = {0, 0, 1};  // Terrestrial, Satellite (not DVB-T), Stick
  for (size_t i = 0; i < 3; ++i) {
    Variant value;
    ASSERT_EQ(QueryAs<IKxDeviceExtraInfo>(devices[i].Get())->GetExtraInfo(KxDeviceExtraInfo_SpecialUsbDevice, &value),
              S_OK);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, expected[i]) << i;
  }
  struct Case {
    LONG type;
    std::u16string_view hardwareId, manufacturer;
    bool special;
  };
  const Case cases[] = {
      {6, u"USB\\VID_18B4&PID_1689", u"E3C", true},
      {6, u"USB\\vid_18b4&pid_1689", u"E3C", false},  // the ids compare exactly
      {6, u"USB\\VID_18B4&PID_1689", u"Other", false},
      {5, u"USB\\VID_18B4&PID_1689", u"E3C", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSpecialUsbDevice(c.type, c.hardwareId, c.manufacturer), c.special);
}
