#pragma once
// The channels of one search in creation order. The search thread writes the
// list and its channels while holding Lock(); snapshots copy under the same
// lock, so they never see a half-written record.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>
#include "DSFilters/PsiRenderer/engine/Channel.h"
#include "platform/sync/RecursiveLock.h"

class CChannels {
 public:
  virtual ~CChannels() = default;

  RecursiveLock& Lock() const { return m_lock; }

  // Appends a channel with this program number; its ordinal is its 1-based position.
  std::shared_ptr<CChannel> CreateChannel(int32_t programNumber);
  // The first channel with this program number, or empty.
  std::shared_ptr<CChannel> FindByProgramNumber(uint16_t programNumber) const;
  // Empty when index is past the end.
  std::shared_ptr<CChannel> GetChannel(size_t index) const;
  size_t Size() const;
  // Copies of the non-empty channels in list order, taken under the lock.
  std::vector<CChannel> Copy() const;
  // Empties the list; the CAT-seen flag stays.
  void Clear();
  // CA flag := 1 only where it is nonzero and a complete CAT was seen, else 0.
  void ApplyCatPresence();

  void SetCatSeen() { m_nCatSeen = 1; }
  int32_t CatSeen() const { return m_nCatSeen; }

 private:
  mutable RecursiveLock m_lock;
  std::vector<std::shared_ptr<CChannel>> m_vChannels;
  int32_t m_nCatSeen = 0;
};
