#include "DSFilters/PsiRenderer/TransponderInfo.h"

#include "DSFilters/PsiRenderer/Bcd.h"
#include "psi/descriptors/dvb/SatelliteDeliverySystemDescriptor.h"
#include "psi/descriptors/dvb/TerrestrialDeliverySystemDescriptor.h"
#include "psi/dvb/NitSection.h"
#include "psi/mpeg/PatSection.h"

namespace {

constexpr uint8_t kPatTableId = 0x00;
constexpr uint8_t kNitTableId = 0x40;
constexpr uint32_t kWaitMs = 200;

}  // namespace

TransponderValues CTransponderInfo::Values() const {
  AutoLock lock(m_lock);
  return m_Values;
}

void CTransponderInfo::Clear() {
  AutoLock lock(m_lock);
  m_Values = TransponderValues{};
}

void CTransponderInfo::ProcessSection(const PsiSectionRecord& section) {
  AutoLock lock(m_lock);
  const uint8_t* data = section.data.data();
  const auto length = static_cast<uint32_t>(section.data.size());
  if (length == 0) return;
  if (section.tableId == kPatTableId) {
    CPatSection pat;
    if (pat.Parse(data, length)) m_Values.transportStreamId = pat.transport_stream_id;
    return;
  }
  if (section.tableId != kNitTableId || m_Values.transportStreamId == -1) return;
  CNitSection nit;
  if (!nit.Parse(data, length)) return;
  for (const NitTransportStream& stream : nit.transport_streams) {
    if (stream.original_network_id != nit.network_id || stream.transport_stream_id != m_Values.transportStreamId)
      continue;
    for (const auto& descriptor : stream.descriptors) {
      // A descriptor too short for its kind stays a plain CDescriptor.
      if (const auto* satellite = dynamic_cast<const CSatelliteDeliverySystemDescriptor*>(descriptor.get())) {
        m_Values.frequency = static_cast<int32_t>(BcdToDecimal(satellite->frequency)) * 10;
        m_Values.symbolRate = static_cast<int32_t>(BcdToDecimal(satellite->symbol_rate)) / 10;
        m_Values.polarisation = satellite->polarization + 1;
        m_Values.dvbS2 = satellite->modulation_system;
        m_Values.orbitalPosition = static_cast<int32_t>(BcdToDecimal(satellite->orbital_position));
      } else if (const auto* terrestrial =
                     dynamic_cast<const CTerrestrialDeliverySystemDescriptor*>(descriptor.get())) {
        m_Values.frequency = static_cast<int32_t>(terrestrial->centre_frequency);
      }
    }
  }
}

void CTransponderInfo::ThreadProc() {
  while (!StopRequested()) {
    const std::vector<PsiSectionRecord> sections = m_Splitter.PeekSections();
    if (sections.empty()) {
      if (WaitStop(kWaitMs)) return;
      continue;
    }
    for (const PsiSectionRecord& section : sections) {
      ProcessSection(section);
      if (WaitStop(kWaitMs)) return;
    }
  }
}
