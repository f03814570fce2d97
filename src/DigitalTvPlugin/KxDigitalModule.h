#pragma once
// The part of the module object that serves the built-in frequency lists.
#include "platform/com/BStr.h"

class CKxDigitalModule {
 public:
  // The list of tuning data type `bstrType` (case-sensitive) as a new string.
  HRESULT GetTuningDataFromResource(BSTR bstrType, BSTR* pbstrXml);

 protected:
  CKxDigitalModule() = default;
  ~CKxDigitalModule() = default;
};

// The module object of the loaded plug-in; null outside it.
extern CKxDigitalModule* g_MainModule;
