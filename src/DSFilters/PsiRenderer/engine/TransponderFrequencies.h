#pragma once
// The transponders a NIT announces, in insertion order, duplicates kept.
// Written by the NIT processor and copied by snapshots under Lock().
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>
#include "DSFilters/PsiRenderer/engine/TransponderFrequency.h"
#include "platform/sync/RecursiveLock.h"

class CTransponderFrequencies {
 public:
  virtual ~CTransponderFrequencies() = default;

  RecursiveLock& Lock() const { return m_lock; }

  void AddSatellite(uint32_t frequencyKhz, uint32_t symbolRate, uint8_t polarisation, uint16_t orbitalPosition,
                    uint8_t westEastFlag);
  void AddTerrestrial(uint32_t frequencyKhz, uint8_t bandwidthMhz);
  void Clear();
  size_t Size() const;
  // A copy of the records, taken under the lock.
  std::vector<CTransponderFrequency> Copy() const;

 private:
  mutable RecursiveLock m_lock;
  std::vector<std::shared_ptr<CTransponderFrequency>> m_vFrequencies;
};
