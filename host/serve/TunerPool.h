#pragma once
// The tuners this server has handed out: one stream per tuner. A lease
// gives its tuner back when it goes.
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "interfaces/IKxCaptureDevice.h"
#include "platform/com/ComPtr.h"

class TunerPool;

class TunerLease {
 public:
  TunerLease(TunerPool& pool, ComPtr<IKxCaptureDevice> device, std::string moniker);
  ~TunerLease();
  TunerLease(const TunerLease&) = delete;
  TunerLease& operator=(const TunerLease&) = delete;

  IKxCaptureDevice* Device() const { return m_device.Get(); }

 private:
  TunerPool& m_pool;
  ComPtr<IKxCaptureDevice> m_device;
  std::string m_moniker;
};

class TunerPool {
 public:
  // The first of `candidates` that neither this server nor another process
  // uses; null when every one is busy.
  std::unique_ptr<TunerLease> Acquire(const std::vector<ComPtr<IKxCaptureDevice>>& candidates);

 private:
  friend class TunerLease;
  void Release(const std::string& moniker);

  std::mutex m_mutex;
  std::set<std::string> m_leased;
};
