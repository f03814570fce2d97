#pragma once
// Assembles PSI/SI sections from the packets of registered PIDs and hands
// every section that passes the header, current/next and CRC checks to
// OnSection. Several sections may share a packet, and a section may end in
// the packet that starts the next one; all of them are delivered.
#include <bitset>
#include <cstdint>
#include <map>

#include "psi/ts/PsiSectionHandler.h"
#include "psi/ts/SectionAssembly.h"
#include "psi/ts/TsSplitter.h"

class CPsiSectionSplitter : public CTsSplitter, public IPsiSectionHandler {
 public:
  // Assemble the sections of pid and hand them to this splitter's OnSection.
  void AddPid(uint16_t pid);
  void ClearPids();

  bool OnSectionData(uint16_t pid, const uint8_t* data, uint32_t length) override;

 protected:
  void OnPacket(const uint8_t* packet, uint32_t size) override;
  // data holds one valid section of totalLength bytes.
  virtual bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) = 0;

 private:
  void StartUnit(SectionAssembly& entry, const uint8_t* payload, uint32_t length);
  void Continue(SectionAssembly& entry, const uint8_t* payload, uint32_t length);

  std::map<uint16_t, SectionAssembly> m_mapPids;
  // Rejects the many packets of other PIDs without a map lookup.
  std::bitset<8192> m_registeredPids;
};
