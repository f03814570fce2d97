#pragma once
// Tune requests as the plug-in builds them (a fresh tuning space, a
// locator), and the small graph a tuner is tried in: network provider ->
// tuner -> file writer.
#include <gtest/gtest.h>

#include "platform/bda/NetworkProvider.h"
#include "platform/bda/TuningSpaces.h"
#include "platform/graph/FileWriterFilter.h"
#include "platform/graph/FilterGraph.h"

namespace tune {

inline ComPtr<ITuneRequest> Request(ITuningSpace* space, ILocator* locator) {
  ComPtr<ITuneRequest> request;
  EXPECT_EQ(space->CreateTuneRequest(request.Put()), S_OK);
  if (request) request->put_Locator(locator);
  return request;
}

inline ComPtr<ITuneRequest> Dvbt(LONG frequencyKHz, LONG bandwidthMHz) {
  auto space = ComObject<CDVBTuningSpace>::Make();
  space->put_SystemType(DVB_Terrestrial);
  space->put__NetworkType(CLSID_DVBTNetworkProvider);
  auto locator = ComObject<CDVBTLocator>::Make();
  locator->put_CarrierFrequency(frequencyKHz);
  locator->put_Bandwidth(bandwidthMHz);
  return Request(space.Get(), locator.Get());
}

inline ComPtr<ITuneRequest> Dvbc(LONG frequencyKHz, LONG symbolRate, ModulationType modulation) {
  auto space = ComObject<CDVBTuningSpace>::Make();
  space->put_SystemType(DVB_Cable);
  space->put__NetworkType(CLSID_DVBCNetworkProvider);
  auto locator = ComObject<CDVBCLocator>::Make();
  locator->put_CarrierFrequency(frequencyKHz);
  locator->put_SymbolRate(symbolRate);
  locator->put_Modulation(modulation);
  return Request(space.Get(), locator.Get());
}

struct Lnb {
  LONG low = 9750000, high = 10600000, lnbSwitch = 11700000;
};

// The DVB-S2 settings of a transponder.
struct S2 {
  BinaryConvolutionCodeRate fec = BDA_BCC_RATE_NOT_SET;
  RollOff rollOff = BDA_ROLL_OFF_NOT_SET;
  Pilot pilot = BDA_PILOT_NOT_SET;
};

inline ComPtr<ITuneRequest> Dvbs(LONG frequencyKHz, LONG symbolRate, Polarisation polarisation, Lnb lnb = {},
                                 ModulationType modulation = BDA_MOD_NOT_SET, S2 s2 = {}) {
  auto space = ComObject<CDVBSTuningSpace>::Make();
  space->put_LowOscillator(lnb.low);
  space->put_HighOscillator(lnb.high);
  space->put_LNBSwitch(lnb.lnbSwitch);
  auto locator = ComObject<CDVBSLocator>::Make();
  locator->put_CarrierFrequency(frequencyKHz);
  locator->put_SymbolRate(symbolRate);
  locator->put_SignalPolarisation(polarisation);
  locator->put_Modulation(modulation);
  locator->put_InnerFECRate(s2.fec);
  locator->put_SignalRollOff(s2.rollOff);
  locator->put_SignalPilot(s2.pilot);
  return Request(space.Get(), locator.Get());
}

inline ComPtr<ITuneRequest> AtscAntenna(LONG physicalChannel) {
  auto space = ComObject<CATSCTuningSpace>::Make();
  auto locator = ComObject<CATSCLocator>::Make();
  locator->put_PhysicalChannel(physicalChannel);
  return Request(space.Get(), locator.Get());
}

inline ComPtr<ITuneRequest> AtscCable(LONG pictureCarrierKHz, ModulationType modulation) {
  auto space = ComObject<CATSCTuningSpace>::Make();
  space->put_InputType(TunerInputCable);
  auto locator = ComObject<CATSCLocator>::Make();
  locator->put_CarrierFrequency(pictureCarrierKHz);
  locator->put_Modulation(modulation);
  return Request(space.Get(), locator.Get());
}

inline ComPtr<IPin> FindPin(IBaseFilter* filter, PIN_DIRECTION direction) {
  std::vector<ComPtr<IPin>> pins;
  filter->EnumPins(&pins);
  for (const auto& pin : pins) {
    PIN_DIRECTION d;
    pin->QueryDirection(&d);
    if (d == direction) return pin;
  }
  return {};
}

// Network provider -> tuner -> file writer.
struct TunerGraph {
  ComPtr<ComObject<CFilterGraph>> graph = ComObject<CFilterGraph>::Make();
  ComPtr<IBaseFilter> provider;
  ComPtr<IBaseFilter> tuner;
  ComPtr<ComObject<CFileWriterFilter>> writer = ComObject<CFileWriterFilter>::Make();

  // Builds the graph; the writer writes to `output`.
  void Build(IUnknown* tunerFilter, const std::string& output, const CLSID& providerClass = CLSID_NetworkProvider) {
    ASSERT_EQ(CNetworkProvider::Create(providerClass, provider.Put()), S_OK);
    tuner = QueryAs<IBaseFilter>(tunerFilter);
    ASSERT_TRUE(tuner);
    const std::u16string path(output.begin(), output.end());
    ASSERT_EQ(writer->SetFileName(path.c_str(), nullptr), S_OK);
    ASSERT_EQ(graph->AddFilter(provider.Get(), u"Vista NP"), S_OK);
    ASSERT_EQ(graph->AddFilter(tuner.Get(), u"Tuner"), S_OK);
    ASSERT_EQ(graph->AddFilter(writer.Get(), u"File writer"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(FindPin(provider.Get(), PINDIR_OUTPUT).Get(), FindPin(tuner.Get(), PINDIR_INPUT).Get(),
                                   nullptr),
              S_OK);
    ASSERT_EQ(graph->ConnectDirect(FindPin(tuner.Get(), PINDIR_OUTPUT).Get(),
                                   FindPin(writer.Get(), PINDIR_INPUT).Get(), nullptr),
              S_OK);
  }

  HRESULT Tune(ITuneRequest* request) { return QueryAs<ITuner>(provider.Get())->put_TuneRequest(request); }
};

}  // namespace tune
