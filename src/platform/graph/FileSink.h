#pragma once
// The platform's interfaces of filters and objects that write to a file or
// a stream.
#include <string>

#include "platform/com/Unknown.h"
#include "platform/graph/MediaType.h"

struct IFileSinkFilter : IUnknown {
  DTV_DECLARE_IID("{A2104830-7C70-11CF-8BCE-00AA00A3F1A6}");
  virtual HRESULT SetFileName(const char16_t* fileName, const AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT GetCurFile(std::u16string* fileName, AM_MEDIA_TYPE* type) = 0;

 protected:
  ~IFileSinkFilter() = default;
};

struct IStream : IUnknown {
  DTV_DECLARE_IID("{0000000C-0000-0000-C000-000000000046}");
  virtual HRESULT Read(void* buffer, ULONG size, ULONG* read) = 0;
  virtual HRESULT Write(const void* buffer, ULONG size, ULONG* written) = 0;

 protected:
  ~IStream() = default;
};
