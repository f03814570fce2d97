#pragma once
// The root interface. Its three operations are the first three virtual slots
// of every interface; interfaces have no virtual destructor, so the slots of
// each derived interface follow these in declaration order.
#include "platform/com/Guid.h"
#include "platform/com/Types.h"

struct IUnknown {
  DTV_DECLARE_IID("{00000000-0000-0000-C000-000000000046}");
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};
