#pragma once
// Assembles PSI/SI sections from the packets of registered PIDs and hands
// every section that passes the header, current/next and CRC checks to
// OnSection; that is the one place a section is validated. Several sections
// may share a packet, and a section may end in the packet that starts the
// next one; all of them are delivered.
//
// Continuity per PID: a duplicate packet (same continuity_counter, sent
// twice as MPEG-2 allows) is dropped; any other jump of the counter drops
// only the section under assembly, unless the adaptation field announced it.
#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

#include "psi/ts/PsiSectionHandler.h"
#include "psi/ts/SectionAssembly.h"
#include "psi/ts/TsSplitter.h"

class CPsiSectionSplitter : public CTsSplitter, public IPsiSectionHandler {
 public:
  CPsiSectionSplitter() { SetPacketFilter(&m_registeredPids, false); }

  // Assemble the sections of pid and hand them to this splitter's OnSection.
  void AddPid(uint16_t pid);
  void RemovePid(uint16_t pid);
  void ClearPids();
  bool HasPid(uint16_t pid) const { return m_registeredPids.test(pid & 0x1FFF); }

  bool OnSectionData(uint16_t pid, const uint8_t* data, uint32_t length) override;

 protected:
  void OnPacket(const uint8_t* packet, uint32_t size) override;
  // data holds one valid section of totalLength bytes.
  virtual bool OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) = 0;
  // A unit-start packet of an unregistered PID: true to register the PID and
  // assemble from this packet on. firstTableId is the table_id byte the
  // pointer_field points at. The default assembles registered PIDs only; a
  // class that overrides it calls LookAtUnregisteredPids() first.
  virtual bool WantsUnregisteredPid(uint16_t pid, uint8_t firstTableId) { return false; }
  void LookAtUnregisteredPids() { SetPacketFilter(&m_registeredPids, true); }

 private:
  // false when the packet repeats the previous one and must be dropped.
  static bool CheckContinuity(SectionAssembly& entry, const TsPacketHeader& header);
  void StartUnit(SectionAssembly& entry, const uint8_t* payload, uint32_t length);
  void Continue(SectionAssembly& entry, const uint8_t* payload, uint32_t length);

  // Indexed by PID; the bitset (1 KiB, in cache) rejects the many packets of other PIDs.
  std::vector<std::unique_ptr<SectionAssembly>> m_vPids = std::vector<std::unique_ptr<SectionAssembly>>(8192);
  std::bitset<8192> m_registeredPids;
};
