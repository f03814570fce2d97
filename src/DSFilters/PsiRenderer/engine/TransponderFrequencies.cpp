#include "DSFilters/PsiRenderer/engine/TransponderFrequencies.h"

void CTransponderFrequencies::AddSatellite(uint32_t frequencyKhz, uint32_t symbolRate, uint8_t polarisation,
                                           uint16_t orbitalPosition, uint8_t westEastFlag) {
  auto record = std::make_shared<CTransponderFrequency>();
  record->m_nCarrierFrequency = frequencyKhz;
  record->m_nSymbolRate = symbolRate;
  record->m_nPolarisation = polarisation;
  record->m_nOrbitalPosition = orbitalPosition;
  record->m_nWestEastFlag = westEastFlag;
  AutoLock lock(m_lock);
  m_vFrequencies.push_back(std::move(record));
}

void CTransponderFrequencies::AddTerrestrial(uint32_t frequencyKhz, uint8_t bandwidthMhz) {
  auto record = std::make_shared<CTransponderFrequency>();
  record->m_nCarrierFrequency = frequencyKhz;
  record->m_nBandwidth = bandwidthMhz;
  AutoLock lock(m_lock);
  m_vFrequencies.push_back(std::move(record));
}

void CTransponderFrequencies::Clear() {
  AutoLock lock(m_lock);
  m_vFrequencies.clear();
}

size_t CTransponderFrequencies::Size() const {
  AutoLock lock(m_lock);
  return m_vFrequencies.size();
}

std::vector<CTransponderFrequency> CTransponderFrequencies::Copy() const {
  AutoLock lock(m_lock);
  std::vector<CTransponderFrequency> copy;
  copy.reserve(m_vFrequencies.size());
  for (const auto& record : m_vFrequencies) copy.push_back(*record);
  return copy;
}
