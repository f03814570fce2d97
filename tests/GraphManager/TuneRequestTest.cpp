// The tune request channel control hands the network provider: every
// tuning value of the channel reaches the locator and the tuning space.
#include <gtest/gtest.h>

#include "Channel/KxChannel.h"
#include "GraphManager/KxGraphManagerDigital.h"
#include "platform/com/Utf.h"

namespace {
class CTuneRequestManager : public CKxGraphManagerDigital {
 public:
  using CKxGraphManagerDigitalBase::GetTuneRequest;
};

struct Expected {
  LONG frequency, symbolRate, modulation, innerFec;
  LONG rollOff = -1, pilot = -1;
  LONG low = -1, high = -1, lnbSwitch = -1;  // tuning space of a satellite request
};

void PutNamed(IKxChannel* channel, const char16_t* name, LONG value) {
  Variant v;
  v.vt = VT_I4;
  v.lVal = value;
  ASSERT_EQ(channel->put_Property(BStr(std::u16string_view(name)).Get(), v), S_OK);
}
}  // namespace

TEST(ChannelTuneRequest, CarriesModulationFecAndTheLnbOfEachKind) {
  auto manager = ComObject<CTuneRequestManager>::Make();
  struct Case {
    const char* name;
    LONG type, inputSource, frequency, symbolRate, modulation, innerFec, rollOff, pilot, low, high, lnbSwitch;
    Expected expected;
  };
  const Case cases[] = {
      // DVB-S2 8PSK through a single-oscillator LNB.
      {"dvb-s2", KxChannelType_DvbsTv, 0, 3840000, 30000, 27, 9, 2, 1, 5150000, -1, -1,
       {3840000, 30000, 27, 9, 2, 1, 5150000, -1, -1}},
      // A universal LNB given in full.
      {"dvb-s", KxChannelType_DvbsTv, 0, 11493750, 22000, 20, 3, -1, -1, 9750000, 10600000, 11700000,
       {11493750, 22000, 20, 3, -1, -1, 9750000, 10600000, 11700000}},
      {"dvb-c 256-QAM", KxChannelType_DvbcTv, 0, 346000, 6900, 13, -1, -1, -1, -1, -1, -1, {346000, 6900, 13, -1}},
      // One cable frequency, two modulations: two different requests.
      {"atsc cable 64-QAM", KxChannelType_AtscTv, 2, 57000, -1, 11, -1, -1, -1, -1, -1, -1, {57000, -1, 11, -1}},
      {"atsc cable 256-QAM", KxChannelType_AtscTv, 2, 57000, -1, 13, -1, -1, -1, -1, -1, -1, {57000, -1, 13, -1}},
  };
  for (const Case& c : cases) {
    auto channel = ComObject<CKxChannel>::Make();
    channel->put_Type(c.type);
    channel->put_InputSource(c.inputSource);
    channel->put_CarrierFrequency(c.frequency);
    channel->put_SymbolRate(c.symbolRate);
    channel->put_Modulation(c.modulation);
    channel->put_SignalPolarisation(1);
    PutNamed(channel.Get(), u"InnerFec", c.innerFec);
    PutNamed(channel.Get(), u"Rolloff", c.rollOff);
    PutNamed(channel.Get(), u"Pilot", c.pilot);
    PutNamed(channel.Get(), u"LowOscillator", c.low);
    PutNamed(channel.Get(), u"HighOscillator", c.high);
    PutNamed(channel.Get(), u"LnbSwitch", c.lnbSwitch);

    ComPtr<ITuneRequest> request;
    ASSERT_EQ(manager->GetTuneRequest(channel.Get(), request.Put()), S_OK) << c.name;
    ComPtr<ILocator> locator;
    ASSERT_EQ(request->get_Locator(locator.Put()), S_OK) << c.name;
    LONG frequency = 0, symbolRate = 0;
    ModulationType modulation = BDA_MOD_NOT_SET;
    BinaryConvolutionCodeRate fec = BDA_BCC_RATE_NOT_SET;
    locator->get_CarrierFrequency(&frequency);
    locator->get_SymbolRate(&symbolRate);
    locator->get_Modulation(&modulation);
    locator->get_InnerFECRate(&fec);
    EXPECT_EQ(frequency, c.expected.frequency) << c.name;
    EXPECT_EQ(symbolRate, c.expected.symbolRate) << c.name;
    EXPECT_EQ(modulation, c.expected.modulation) << c.name;
    EXPECT_EQ(fec, c.expected.innerFec) << c.name;
    if (c.type != KxChannelType_DvbsTv) continue;
    const ComPtr<IDVBSLocator2> satellite = QueryAs<IDVBSLocator2>(locator.Get());
    ASSERT_TRUE(satellite) << c.name;
    RollOff rollOff = BDA_ROLL_OFF_NOT_SET;
    Pilot pilot = BDA_PILOT_NOT_SET;
    satellite->get_SignalRollOff(&rollOff);
    satellite->get_SignalPilot(&pilot);
    EXPECT_EQ(rollOff, c.expected.rollOff) << c.name;
    EXPECT_EQ(pilot, c.expected.pilot) << c.name;
    ComPtr<ITuningSpace> space;
    ASSERT_EQ(request->get_TuningSpace(space.Put()), S_OK) << c.name;
    const ComPtr<IDVBSTuningSpace> lnb = QueryAs<IDVBSTuningSpace>(space.Get());
    ASSERT_TRUE(lnb) << c.name;
    LONG low = 0, high = 0, lnbSwitch = 0;
    lnb->get_LowOscillator(&low);
    lnb->get_HighOscillator(&high);
    lnb->get_LNBSwitch(&lnbSwitch);
    EXPECT_EQ(low, c.expected.low) << c.name;
    EXPECT_EQ(high, c.expected.high) << c.name;
    EXPECT_EQ(lnbSwitch, c.expected.lnbSwitch) << c.name;
  }
}

TEST(ChannelTuneRequest, AChannelOfNoDeliverySystemHasNoTuneRequest) {
  auto manager = ComObject<CTuneRequestManager>::Make();
  auto channel = ComObject<CKxChannel>::Make();
  channel->put_Type(1);
  ComPtr<ITuneRequest> request;
  EXPECT_EQ(manager->GetTuneRequest(channel.Get(), request.Put()), E_FAIL);
  EXPECT_EQ(manager->GetTuneRequest(channel.Get(), nullptr), E_POINTER);
}
