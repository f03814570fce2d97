#pragma once
// A worker thread that initialises the component runtime for its body and
// can be asked to stop.
#include <atomic>
#include <cstdint>

#include "platform/com/Apartment.h"
#include "threads/KxThreadBase.h"

class CKxComThreadEx : public CKxThreadBase {
 public:
  explicit CKxComThreadEx(uint32_t apartmentFlags = COINIT_MULTITHREADED) : m_apartmentFlags(apartmentFlags) {}
  ~CKxComThreadEx() override;

  // Asks the body to return; the request is cleared when the body has
  // returned, so a restarted thread starts without it.
  void RequestStop() { m_stopRequested.store(true, std::memory_order_relaxed); }

 protected:
  void OnThreadAttach(bool entering) override;
  bool StopRequested() const { return m_stopRequested.load(std::memory_order_relaxed); }

 private:
  const uint32_t m_apartmentFlags;
  // Polled by the body without a lock: a late read costs one more pass.
  std::atomic<bool> m_stopRequested{false};
  bool m_initialised = false;
};
