#include "DSFilters/PsiRenderer/engine/Channels.h"

std::shared_ptr<CChannel> CChannels::CreateChannel(int32_t programNumber) {
  AutoLock lock(m_lock);
  auto channel = std::make_shared<CChannel>();
  m_vChannels.push_back(channel);
  channel->m_nProgramNumber = programNumber;
  channel->m_nOrdinal = static_cast<int32_t>(m_vChannels.size());
  return channel;
}

std::shared_ptr<CChannel> CChannels::FindByProgramNumber(uint16_t programNumber) const {
  AutoLock lock(m_lock);
  for (const auto& channel : m_vChannels)
    if (channel && channel->m_nProgramNumber == programNumber) return channel;
  return {};
}

std::shared_ptr<CChannel> CChannels::GetChannel(size_t index) const {
  AutoLock lock(m_lock);
  return index < m_vChannels.size() ? m_vChannels[index] : nullptr;
}

size_t CChannels::Size() const {
  AutoLock lock(m_lock);
  return m_vChannels.size();
}

void CChannels::Clear() {
  AutoLock lock(m_lock);
  m_vChannels.clear();
}

void CChannels::ApplyCatPresence() {
  AutoLock lock(m_lock);
  for (const auto& channel : m_vChannels)
    if (channel) channel->m_nCa = (channel->m_nCa != 0 && m_nCatSeen != 0) ? 1 : 0;
}

std::vector<CChannel> CChannels::Copy() const {
  AutoLock lock(m_lock);
  std::vector<CChannel> copy;
  copy.reserve(m_vChannels.size());
  for (const auto& channel : m_vChannels)
    if (channel) copy.push_back(*channel);
  return copy;
}
