#include "DSFilters/PsiRenderer/engine/PsiRendererSplitter.h"

#include <algorithm>
#include <set>

#include "psi/PsiIds.h"
#include "psi/ts/PsiSection.h"

namespace {

constexpr uint32_t kLongHeaderLength = 8;
constexpr uint32_t kEtmIdOffset = 9;

uint32_t ReadUInt32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

void CPsiRendererSplitter::Attach(CSectionSubscription& subscription) {
  AutoLock lock(m_lock);
  m_vSubscriptions.push_back(&subscription);
}

void CPsiRendererSplitter::Detach(CSectionSubscription& subscription) {
  AutoLock lock(m_lock);
  std::erase(m_vSubscriptions, &subscription);
  UpdatePids();
}

void CPsiRendererSplitter::UpdatePids() {
  std::set<uint16_t> wanted;
  for (const CSectionSubscription* subscription : m_vSubscriptions) wanted.merge(subscription->Pids());
  for (uint16_t pid = 0; pid < 0x2000; ++pid)
    if (HasPid(pid) && !wanted.contains(pid)) RemovePid(pid);
  // An added PID starts idle; PIDs already assembled keep their section under assembly.
  for (uint16_t pid : wanted)
    if (!HasPid(pid)) AddPid(pid);
}

void CPsiRendererSplitter::Reset() {
  AutoLock lock(m_lock);
  for (CSectionSubscription* subscription : m_vSubscriptions) subscription->DropSections();
  ClearPids();
  CPsiSectionSplitter::Reset();
  UpdatePids();
}

void CPsiRendererSplitter::PushSample(const uint8_t* data, uint32_t length) {
  AutoLock lock(m_lock);
  Push(data, length);
}

bool CPsiRendererSplitter::OnSection(const uint8_t* data, uint32_t totalLength, uint16_t pid, uint8_t tableId) {
  // Short sections have neither extension nor number: one copy per table.
  const bool longHeader = (data[1] & 0x80) != 0 && totalLength >= kLongHeaderLength;
  const uint16_t extension = longHeader ? ReadUInt16At(data + 3) : 0;
  const uint8_t sectionNumber = longHeader ? data[6] : 0;
  // Every ETT section has number 0; the ETM_id tells them apart.
  const uint32_t etmId =
      tableId == psi::kEttTableId && totalLength >= kEtmIdOffset + 4 ? ReadUInt32(data + kEtmIdOffset) : 0;
  const CSectionSubscription::SectionKey key{pid, tableId, extension, sectionNumber, etmId};
  bool kept = false;
  for (CSectionSubscription* subscription : m_vSubscriptions) {
    if (!subscription->Wants(pid, tableId)) continue;
    subscription->Keep(key, pid, tableId, data, totalLength);
    kept = true;
  }
  return kept;
}
