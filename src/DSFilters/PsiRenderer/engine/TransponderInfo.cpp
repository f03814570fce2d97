#include "DSFilters/PsiRenderer/engine/TransponderInfo.h"

#include "psi/dvb/Bcd.h"
#include "psi/descriptors/dvb/CableDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/SatelliteDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/TerrestrialDeliverySystemDescriptor.h"
#include "psi/dvb/NitSection.h"
#include "psi/PsiIds.h"
#include "psi/dvb/SdtSection.h"
#include "psi/mpeg/PatSection.h"

namespace {

using namespace psi;

}  // namespace

CTransponderInfo::CTransponderInfo(CPsiRendererSplitter& splitter) : m_Sections(splitter, true) {
  m_Sections.AddFilter(kPatPid, kPatTableId);
  m_Sections.AddFilter(kNitPid, kNitActualTableId);
  // The SDT names the multiplex's original network, which the NIT entry must match.
  m_Sections.AddFilter(kSdtPid, kSdtActualTableId);
}

TransponderValues CTransponderInfo::Values() const {
  AutoLock lock(m_lock);
  return m_Values;
}

void CTransponderInfo::Clear() {
  AutoLock lock(m_lock);
  m_Values = TransponderValues{};
  m_nOriginalNetworkId = -1;
  m_mapNit.clear();
}

void CTransponderInfo::ProcessSection(const PsiSectionRecord& section) {
  AutoLock lock(m_lock);
  const uint8_t* data = section.data.data();
  const auto length = static_cast<uint32_t>(section.data.size());
  if (length == 0) return;
  if (section.tableId == kPatTableId) {
    CPatSection pat;
    if (!pat.ParseValidated(data, length)) return;
    m_Values.transportStreamId = pat.transport_stream_id;
    EvaluateStoredNit();
    return;
  }
  if (section.tableId == kSdtActualTableId) {
    CSdtSection sdt;
    if (!sdt.ParseValidated(data, length) || sdt.original_network_id == m_nOriginalNetworkId) return;
    m_nOriginalNetworkId = sdt.original_network_id;
    EvaluateStoredNit();
    return;
  }
  if (section.tableId != kNitActualTableId || length < 8) return;
  m_mapNit[data[6]] = section.data;
  EvaluateNit(section.data);
}

void CTransponderInfo::EvaluateStoredNit() {
  // What a NIT entry of another multiplex gave is forgotten.
  const int32_t transportStreamId = m_Values.transportStreamId;
  m_Values = TransponderValues{};
  m_Values.transportStreamId = transportStreamId;
  for (const auto& [number, nit] : m_mapNit) EvaluateNit(nit);
}

void CTransponderInfo::EvaluateNit(const std::vector<uint8_t>& section) {
  if (m_Values.transportStreamId == -1) return;
  CNitSection nit;
  if (!nit.ParseValidated(section.data(), static_cast<uint32_t>(section.size()))) return;
  // Until the SDT tells the original network, a network's own multiplexes are the likely match.
  const int32_t originalNetworkId = m_nOriginalNetworkId != -1 ? m_nOriginalNetworkId : nit.network_id;
  for (const NitTransportStream& stream : nit.transport_streams) {
    if (stream.original_network_id != originalNetworkId || stream.transport_stream_id != m_Values.transportStreamId)
      continue;
    for (const auto& descriptor : stream.descriptors) {
      // A descriptor too short for its kind is none of them.
      if (const auto* satellite = descriptor.As<CSatelliteDeliverySystemDescriptor>()) {
        m_Values.frequency = static_cast<int32_t>(BcdToDecimal(satellite->frequency)) * 10;
        m_Values.symbolRate = static_cast<int32_t>(BcdToDecimal(satellite->symbol_rate)) / 10;
        m_Values.polarisation = satellite->polarization + 1;
        m_Values.dvbS2 = satellite->modulation_system;
        m_Values.orbitalPosition = static_cast<int32_t>(BcdToDecimal(satellite->orbital_position));
      } else if (const auto* terrestrial =
                     descriptor.As<CTerrestrialDeliverySystemDescriptor>()) {
        if (terrestrial->FrequencyGiven()) m_Values.frequency = static_cast<int32_t>(terrestrial->centre_frequency);
      } else if (const auto* cable = descriptor.As<CCableDeliverySystemDescriptor>()) {
        // Both in units of 100: kHz and ksymbol/s.
        m_Values.frequency = static_cast<int32_t>(BcdToDecimal(cable->frequency)) / 10;
        m_Values.symbolRate = static_cast<int32_t>(BcdToDecimal(cable->symbol_rate)) / 10;
      }
    }
  }
}

void CTransponderInfo::ProcessPendingSections() {
  for (const PsiSectionRecord& section : m_Sections.TakeSections()) ProcessSection(section);
}

void CTransponderInfo::ThreadProc() {
  do {
    ProcessPendingSections();
  } while (!WaitStopOr(m_Sections.Arrived(), INFINITE));
}
