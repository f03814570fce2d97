#include "analyze/DeliveryText.h"

#include <gtest/gtest.h>

namespace {

CChannel Channel(int32_t frequency, int32_t symbolRate, int32_t modulation, int32_t polarisation, int32_t orbital,
                 int32_t westEast, int32_t bandwidth) {
  CChannel c;
  c.m_nNetworkId = 1;
  c.m_nCarrierFrequency = frequency;
  c.m_nSymbolRate = symbolRate;
  c.m_nModulation = modulation;
  c.m_nPolarisation = polarisation;
  c.m_nOrbitalPosition = orbital;
  c.m_nWestEastFlag = westEast;
  c.m_nBandwidth = bandwidth;
  return c;
}

TEST(DeliveryText, EachSystemInItsOwnUnitsWithoutWhatIsUnknown) {
  struct Case {
    const char* name;
    CChannel channel;
    PsiRenderer_NetworkType system;
    const char* text;
  };
  const Case cases[] = {
      // Satellite frequencies in kHz; cable and terrestrial in 10 Hz.
      {"satellite", Channel(11362000, 22000, 0, 1, 192, 1, 0), PsiRenderer_NetworkType_Dvbs,
       "DVB-S 11.362 GHz H 22000 kS/s 19.2°E"},
      {"satellite west", Channel(11727000, 27500, 1, 2, 300, 0, 0), PsiRenderer_NetworkType_Dvbs,
       "DVB-S 11.727 GHz V 27500 kS/s 30.0°W"},
      {"cable", Channel(34600000, 6900, 5, -1, -1, -1, -1), PsiRenderer_NetworkType_Dvbc,
       "DVB-C 346 MHz 256-QAM 6900 kS/s"},
      {"terrestrial", Channel(47400000, -1, -1, -1, -1, -1, 8), PsiRenderer_NetworkType_Dvbt,
       "DVB-T 474 MHz, 8 MHz bandwidth"},
      {"terrestrial, frequency not given", Channel(-1, 0, 0, 0, 0, 0, 8), PsiRenderer_NetworkType_Dvbt,
       "DVB-T 8 MHz bandwidth"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChannelDeliveryText(c.channel, c.system), c.text);
  }
  CChannel s2 = Channel(11362000, 22000, 1, 1, 192, 1, 0);
  s2.m_nDvbS2 = 1;
  EXPECT_EQ(ChannelDeliveryText(s2, PsiRenderer_NetworkType_Dvbs), "DVB-S2 11.362 GHz H 22000 kS/s 19.2°E");
  EXPECT_EQ(ChannelDeliveryText(CChannel{}, PsiRenderer_NetworkType_Dvbt), "");  // no NIT seen
}

TEST(DeliveryText, TranspondersKeepKilohertz) {
  CTransponderFrequency terrestrial;
  terrestrial.m_nCarrierFrequency = 474000;
  terrestrial.m_nBandwidth = 8;
  EXPECT_EQ(TransponderText(terrestrial, PsiRenderer_NetworkType_Dvbt), "DVB-T 474 MHz, 8 MHz bandwidth");
  terrestrial.m_nCarrierFrequency = 0;
  EXPECT_EQ(TransponderText(terrestrial, PsiRenderer_NetworkType_Dvbt), "DVB-T 8 MHz bandwidth");
  CTransponderFrequency satellite;
  satellite.m_nCarrierFrequency = 10714000;
  satellite.m_nSymbolRate = 22000;
  satellite.m_nPolarisation = 1;
  satellite.m_nOrbitalPosition = 130;
  satellite.m_nWestEastFlag = 1;
  EXPECT_EQ(TransponderText(satellite, PsiRenderer_NetworkType_Dvbs), "DVB-S 10.714 GHz H 22000 kS/s 13.0°E");
}

}  // namespace
