#pragma once
// The platform's interfaces of filters and objects that write to a file or
// a stream.
#include "platform/com/Unknown.h"
#include "platform/graph/FileWriterFilter.h"  // IFileSinkFilter
#include "platform/graph/MediaType.h"

struct IStream : IUnknown {
  DTV_DECLARE_IID("{0000000C-0000-0000-C000-000000000046}");
  virtual HRESULT Read(void* buffer, ULONG size, ULONG* read) = 0;
  virtual HRESULT Write(const void* buffer, ULONG size, ULONG* written) = 0;

 protected:
  ~IStream() = default;
};
