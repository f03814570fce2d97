#include "serve/TunerPool.h"

#include "live/PluginSession.h"

TunerLease::TunerLease(TunerPool& pool, ComPtr<IKxCaptureDevice> device, std::string moniker)
    : m_pool(pool), m_device(std::move(device)), m_moniker(std::move(moniker)) {}

TunerLease::~TunerLease() { m_pool.Release(m_moniker); }

std::unique_ptr<TunerLease> TunerPool::Acquire(const std::vector<ComPtr<IKxCaptureDevice>>& candidates) {
  std::lock_guard lock(m_mutex);
  for (const ComPtr<IKxCaptureDevice>& device : candidates) {
    std::string moniker = MonikerOf(device.Get());
    if (m_leased.count(moniker) || InUseElsewhere(device.Get())) continue;
    m_leased.insert(moniker);
    return std::make_unique<TunerLease>(*this, device, std::move(moniker));
  }
  return nullptr;
}

void TunerPool::Release(const std::string& moniker) {
  std::lock_guard lock(m_mutex);
  m_leased.erase(moniker);
}
