#pragma once
// The status values the observer writes and the host-facing getters read.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

#include "platform/com/Types.h"

enum KxGraphStatus : LONG {
  KxGraphStatus_Locked = 1,
  KxGraphStatus_SignalQuality = 2,
  KxGraphStatus_SignalStrength = 3,
  KxGraphStatus_Scrambled = 4,
  KxGraphStatus_CopyProtectionLevel = 5,
};

class CGraphStatus {
 public:
  std::optional<int64_t> Get(LONG id) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_values.find(id);
    return it == m_values.end() ? std::nullopt : std::optional<int64_t>(it->second);
  }
  void Set(LONG id, int64_t value) {
    std::lock_guard lock(m_mutex);
    m_values[id] = value;
  }
  void Clear() {
    std::lock_guard lock(m_mutex);
    m_values.clear();
  }

 private:
  mutable std::mutex m_mutex;
  std::map<LONG, int64_t> m_values;
};
