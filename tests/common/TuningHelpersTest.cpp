#include <gtest/gtest.h>

#include "common/TuneRequestHelper.h"
#include "common/TuningSpaceHelper.h"
#include "platform/com/ComObject.h"

namespace {
std::string Name(ITuningSpace* space) {
  BStr unique, friendly;
  space->get_UniqueName(unique.Put());
  space->get_FriendlyName(friendly.Put());
  return unique.Utf8() == friendly.Utf8() ? unique.Utf8() : "names differ";
}

GUID NetworkType(ITuningSpace* space) {
  GUID type = GUID_NULL;
  space->get__NetworkType(&type);
  return type;
}

template <class Network>
ComPtr<ITuningSpace> Space(const KxTuningInfo* info = nullptr) {
  ComPtr<ITuningSpace> space;
  EXPECT_EQ(CTuningSpaceHelper<Network>::GetTuningSpace(space.Put(), info), S_OK);
  return space;
}

ComPtr<ILocator> DefaultLocator(ITuningSpace* space) {
  ComPtr<ILocator> locator;
  space->get_DefaultLocator(locator.Put());
  return locator;
}
}  // namespace

TEST(TuningSpaceHelper, DvbSpacesAreNamedAndTyped) {
  struct Case {
    ComPtr<ITuningSpace> space;
    const char* name;
    GUID networkType;
    DVBSystemType system;
  };
  const Case cases[] = {
      {Space<DvbcNetwork>(), "Vexa DVBC Tuning Space", CLSID_DVBCNetworkProvider, DVB_Cable},
      {Space<DvbtNetwork>(), "Vexa DVBT Tuning Space", CLSID_DVBTNetworkProvider, DVB_Terrestrial},
      {Space<DvbsNetwork>(), "Vexa DVBS Tuning Space", CLSID_DVBSNetworkProvider, DVB_Satellite},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Name(c.space.Get()), c.name);
    EXPECT_EQ(NetworkType(c.space.Get()), c.networkType) << c.name;
    const auto dvb = QueryAs<IDVBTuningSpace>(c.space.Get());
    ASSERT_TRUE(dvb) << c.name;
    DVBSystemType system{};
    dvb->get_SystemType(&system);
    EXPECT_EQ(system, c.system) << c.name;
    EXPECT_TRUE(DefaultLocator(c.space.Get())) << c.name;
  }
  LONG networkId = -1;
  QueryAs<IDVBTuningSpace2>(cases[0].space.Get())->get_NetworkID(&networkId);
  EXPECT_EQ(networkId, 0);
  EXPECT_TRUE(QueryAs<IDVBTLocator>(DefaultLocator(cases[1].space.Get()).Get()));
  EXPECT_TRUE(QueryAs<IDVBSLocator>(DefaultLocator(cases[2].space.Get()).Get()));
}

TEST(TuningSpaceHelper, AtscSpacesDifferInInputAndPhysicalRange) {
  struct Case {
    ComPtr<ITuningSpace> space;
    const char* name;
    TunerInputType input;
    LONG minPhysical, maxPhysical;
  };
  const Case cases[] = {
      {Space<AtscNetworkAntenna>(), "Vexa ATSC Tuning Space", TunerInputAntenna, 2, 69},
      {Space<AtscNetworkCable>(), "Vexa ATSC Tuning Space Cable", TunerInputCable, 1, 158},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Name(c.space.Get()), c.name);
    EXPECT_EQ(NetworkType(c.space.Get()), CLSID_ATSCNetworkProvider) << c.name;
    const auto atsc = QueryAs<IATSCTuningSpace>(c.space.Get());
    ASSERT_TRUE(atsc) << c.name;
    TunerInputType input{};
    LONG values[7] = {};
    atsc->get_InputType(&input);
    atsc->get_MinChannel(&values[0]);
    atsc->get_MaxChannel(&values[1]);
    atsc->get_MinMinorChannel(&values[2]);
    atsc->get_MaxMinorChannel(&values[3]);
    atsc->get_MinPhysicalChannel(&values[4]);
    atsc->get_MaxPhysicalChannel(&values[5]);
    atsc->get_CountryCode(&values[6]);
    EXPECT_EQ(input, c.input) << c.name;
    const LONG expected[7] = {1, 99, 0, 999, c.minPhysical, c.maxPhysical, 0};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(values[i], expected[i]) << c.name << " value " << i;
    ModulationType modulation{};
    const auto locator = DefaultLocator(c.space.Get());
    ASSERT_TRUE(QueryAs<IATSCLocator>(locator.Get())) << c.name;
    locator->get_Modulation(&modulation);
    EXPECT_EQ(modulation, BDA_MOD_128QAM) << c.name;
  }
}

TEST(TuningSpaceHelper, SatelliteOscillators) {
  struct Case {
    const char* name;
    int32_t low, high, lnbSwitch;
    LONG wantLow, wantHigh, wantSwitch;
  };
  const Case cases[] = {
      {"unset: universal LNB", -1, -1, -1, 9750000, 10600000, 11700000},
      {"zero: universal LNB", 0, 0, 0, 9750000, 10600000, 11700000},
      {"given", 9750000, 10750000, 11800000, 9750000, 10750000, 11800000},
      {"two oscillators, no switch", 9750000, 10600000, -1, 9750000, 10600000, 11700000},
      {"one Ku oscillator", 11250000, -1, -1, 11250000, -1, -1},
      {"C band", 5150000, 0, 11700000, 5150000, -1, -1},
      {"equal oscillators", 10750000, 10750000, 11700000, 10750000, -1, -1},
      {"high only", -1, 10600000, -1, 10600000, -1, -1},
  };
  for (const Case& c : cases) {
    KxTuningInfo info;
    info.nLowOscillator = c.low;
    info.nHighOscillator = c.high;
    info.nLnbSwitch = c.lnbSwitch;
    const auto space = QueryAs<IDVBSTuningSpace>(Space<DvbsNetwork>(&info).Get());
    ASSERT_TRUE(space) << c.name;
    LONG low = 0, high = 0, lnbSwitch = 0;
    space->get_LowOscillator(&low);
    space->get_HighOscillator(&high);
    space->get_LNBSwitch(&lnbSwitch);
    EXPECT_EQ(low, c.wantLow) << c.name;
    EXPECT_EQ(high, c.wantHigh) << c.name;
    EXPECT_EQ(lnbSwitch, c.wantSwitch) << c.name;
  }
  const auto universal = QueryAs<IDVBSTuningSpace>(Space<DvbsNetwork>(nullptr).Get());
  LONG low = 0;
  universal->get_LowOscillator(&low);
  EXPECT_EQ(low, 9750000);
}

TEST(TuneRequestHelper, EachNetworkGetsItsLocator) {
  KxTuningInfo info;
  info.nFrequency = 474000;
  info.nBandwidth = 8;
  info.nSymbolRate = 6900;
  info.nModulation = BDA_MOD_64QAM;
  info.nPhysicalChannel = 21;
  info.nPolarisation = BDA_POLARISATION_LINEAR_H;
  struct Case {
    const char* name;
    HRESULT (*create)(ITuneRequest**, const KxTuningInfo*);
    LONG frequency, symbolRate;
    ModulationType modulation;
    bool defaultLocatorIsRequests;
  };
  const Case cases[] = {
      {"DVB-T", CTuneRequestHelper<DvbtNetwork>::CreateTuneRequest, 474000, -1, BDA_MOD_NOT_SET, false},
      {"DVB-C", CTuneRequestHelper<DvbcNetwork>::CreateTuneRequest, 474000, 6900, BDA_MOD_64QAM, false},
      {"DVB-S", CTuneRequestHelper<DvbsNetwork>::CreateTuneRequest, 474000, 6900, BDA_MOD_64QAM, false},
      {"ATSC antenna", CTuneRequestHelper<AtscNetworkAntenna>::CreateTuneRequest, -1, -1, BDA_MOD_NOT_SET, true},
      {"ATSC cable", CTuneRequestHelper<AtscNetworkCable>::CreateTuneRequest, 474000, -1, BDA_MOD_64QAM, true},
  };
  for (const Case& c : cases) {
    ComPtr<ITuneRequest> request;
    ASSERT_EQ(c.create(request.Put(), &info), S_OK) << c.name;
    ComPtr<ILocator> locator;
    ComPtr<ITuningSpace> space;
    request->get_Locator(locator.Put());
    request->get_TuningSpace(space.Put());
    ASSERT_TRUE(locator && space) << c.name;
    LONG frequency = 0, symbolRate = 0;
    ModulationType modulation{};
    locator->get_CarrierFrequency(&frequency);
    locator->get_SymbolRate(&symbolRate);
    locator->get_Modulation(&modulation);
    EXPECT_EQ(frequency, c.frequency) << c.name;
    EXPECT_EQ(symbolRate, c.symbolRate) << c.name;
    EXPECT_EQ(modulation, c.modulation) << c.name;
    EXPECT_EQ(DefaultLocator(space.Get()).Get() == locator.Get(), c.defaultLocatorIsRequests) << c.name;
    if (auto dvbt = QueryAs<IDVBTLocator>(locator.Get())) {
      LONG bandwidth = 0;
      dvbt->get_Bandwidth(&bandwidth);
      EXPECT_EQ(bandwidth, 8);
    }
    if (auto atsc = QueryAs<IATSCLocator>(locator.Get())) {
      LONG channel = 0;
      atsc->get_PhysicalChannel(&channel);
      EXPECT_EQ(channel, std::string(c.name) == "ATSC antenna" ? 21 : -1) << c.name;
    }
  }
  EXPECT_EQ(CTuneRequestHelper<DvbtNetwork>::CreateTuneRequest(nullptr, &info), E_POINTER);
}
