#pragma once
// One further transponder announced by the network information table.
#include <cstdint>

class CTransponderFrequency {
 public:
  virtual ~CTransponderFrequency() = default;

  uint32_t m_nCarrierFrequency = 0;  // kHz
  uint8_t m_nModulation = 0;
  uint32_t m_nSymbolRate = 0;  // kilosymbols per second
  uint8_t m_nPolarisation = 0;  // polarization + 1
  uint16_t m_nOrbitalPosition = 0;  // tenths of a degree
  uint8_t m_nWestEastFlag = 0;
  uint8_t m_nBandwidth = 0;  // MHz
};
