#pragma once
// The platform's system reference clock: the injectable clock's monotonic
// time in 100 ns units.
#include "platform/com/ComObject.h"
#include "platform/graph/GraphInterfaces.h"

constexpr CLSID CLSID_SystemClock = MakeGuid("{E436EBB1-524F-11CE-9F53-0020AF0BA770}");

class CSystemClock : public IReferenceClock {
 public:
  using InterfaceMap = ::InterfaceMap<IReferenceClock>;
  virtual ~CSystemClock() = default;
  HRESULT GetTime(REFERENCE_TIME* time) override;
};
