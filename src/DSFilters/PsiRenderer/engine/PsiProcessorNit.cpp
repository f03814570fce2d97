#include "DSFilters/PsiRenderer/engine/PsiProcessorNit.h"

#include <optional>
#include <string>

#include "psi/dvb/Bcd.h"
#include "logging/LogFile.h"
#include "platform/com/Utf.h"
#include "psi/descriptors/dvb/CableDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/DvbS2SatelliteDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/NetworkNameDescriptor.h"
#include "psi/descriptors/dvb/SatelliteDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/TerrestrialDeliverySystemDescriptor.h"
#include "psi/text/DvbText.h"

namespace {
uint8_t BandwidthMhz(uint8_t code) {
  switch (code) {
    case 0: return 8;
    case 1: return 7;
    case 2: return 6;
    case 3: return 5;
    default: return 0;
  }
}

// The delivery data of the current transport stream; zero where its descriptor says nothing.
struct Delivery {
  int32_t frequency = 0;
  int32_t modulation = 0;
  int32_t symbolRate = 0;
  int32_t polarisation = 0;
  int32_t orbitalPosition = 0;
  int32_t westEast = 0;
  int32_t bandwidth = 0;
  int32_t dvbS2 = 0;
  int32_t rollOff = 0;
};
}  // namespace

void CPsiProcessorNit::Evaluate() {
  for (const auto& [networkId, subtable] : m_Nit.GetSubtables())
    if (!EvaluateSubtable(*subtable)) return;
}

bool CPsiProcessorNit::EvaluateSubtable(const CNitSubtable& subtable) {
  std::optional<std::u16string> networkName;
  for (const auto& descriptor : subtable.descriptors) {
    if (const auto* nn = descriptor.As<CNetworkNameDescriptor>()) {
      networkName = DvbTextToString(nn->name.bytes.data(), nn->name.length);
      log(5, "CPsiProcessorNit::ProcessSection(): Network name: %s", Utf16ToUtf8(*networkName).c_str());
    }
  }

  const auto first = m_pChannels->GetChannel(0);
  if (!first) {
    log(4, "Error in CPsiProcessorNit::ProcessSection(): can't found channel in position 0");
    return false;
  }
  const int32_t currentTsId = first->m_nTransportStreamId;

  Delivery delivery;
  bool keepFrequency = false;
  bool deliveryFound = false;
  std::optional<int32_t> s2Compatibility;
  for (const NitTransportStream& ts : subtable.transport_streams) {
    const bool current = ts.transport_stream_id == currentTsId;
    for (const auto& descriptor : ts.descriptors) {
      if (const auto* sat = descriptor.As<CSatelliteDeliverySystemDescriptor>();
          sat && m_NetworkType == PsiRenderer_NetworkType_Dvbs) {
        const uint32_t frequency = BcdToDecimal(sat->frequency) * 10;
        const uint32_t symbolRate = BcdToDecimal(sat->symbol_rate) / 10;
        const uint8_t polarisation = sat->polarization + 1;
        const uint16_t orbital = static_cast<uint16_t>(BcdToDecimal(sat->orbital_position));
        if (current) {
          delivery = {static_cast<int32_t>(frequency), sat->modulation_system, static_cast<int32_t>(symbolRate),
                      polarisation, orbital, sat->west_east_flag, 0, sat->modulation_system,
                      sat->modulation_system ? sat->roll_off : 0};
          deliveryFound = true;
          log(5, "CPsiProcessorNit::ProcessSection(): Sat delivery descr: freq: %d, sr: %d, pol: %d, orbital pos: %d, "
              "op_flag: %d", delivery.frequency, delivery.symbolRate, delivery.polarisation, delivery.orbitalPosition,
              delivery.westEast);
        }
        if (m_pFrequencies) m_pFrequencies->AddSatellite(frequency, symbolRate, polarisation, orbital, sat->west_east_flag);
      } else if (const auto* cable = descriptor.As<CCableDeliverySystemDescriptor>();
                 cable && m_NetworkType == PsiRenderer_NetworkType_Dvbc) {
        if (current) {
          delivery = {};
          delivery.frequency = static_cast<int32_t>(BcdToDecimal(cable->frequency) * 10);
          delivery.modulation = cable->modulation;
          delivery.symbolRate = static_cast<int32_t>(BcdToDecimal(cable->symbol_rate) / 10);
          deliveryFound = true;
          log(5, "CPsiProcessorNit::ProcessSection(): Cable delivery descr: freq: %d, sr: %d", delivery.frequency,
              delivery.symbolRate);
        }
      } else if (const auto* terr = descriptor.As<CTerrestrialDeliverySystemDescriptor>();
                 terr && m_NetworkType == PsiRenderer_NetworkType_Dvbt) {
        const uint8_t bandwidth = BandwidthMhz(terr->bandwidth);
        if (current) {
          delivery = {};
          // Without a frequency the channel keeps the one it was tuned on.
          keepFrequency = !terr->FrequencyGiven();
          delivery.frequency = static_cast<int32_t>(terr->centre_frequency);
          delivery.bandwidth = bandwidth;
          deliveryFound = true;
          log(5, "CPsiProcessorNit::ProcessSection(): Terrestrial delivery descr: freq: %d, bandwidth: %d",
              delivery.frequency, delivery.bandwidth);
        }
        if (m_pFrequencies && terr->FrequencyGiven()) m_pFrequencies->AddTerrestrial(terr->centre_frequency / 100, bandwidth);
      } else if (const auto* s2 = descriptor.As<CDvbS2SatelliteDeliverySystemDescriptor>();
                 s2 && m_NetworkType == PsiRenderer_NetworkType_Dvbs && current) {
        s2Compatibility = s2->backwards_compatibility_indicator;
      }
    }
  }

  for (size_t i = 0; auto channel = m_pChannels->GetChannel(i); ++i) {
    if (deliveryFound) {
      channel->m_nNetworkId = subtable.network_id;
      if (!keepFrequency) channel->m_nCarrierFrequency = delivery.frequency;
      channel->m_nModulation = delivery.modulation;
      channel->m_nSymbolRate = delivery.symbolRate;
      channel->m_nPolarisation = delivery.polarisation;
      channel->m_nOrbitalPosition = delivery.orbitalPosition;
      channel->m_nWestEastFlag = delivery.westEast;
      channel->m_nBandwidth = delivery.bandwidth;
      channel->m_nDvbS2 = delivery.dvbS2;
      channel->m_nRollOff = delivery.rollOff;
    }
    if (networkName) channel->m_bstrNetworkName = BStr(*networkName);
    if (s2Compatibility) channel->m_nS2BackwardsCompatibility = *s2Compatibility;
  }
  return true;
}
