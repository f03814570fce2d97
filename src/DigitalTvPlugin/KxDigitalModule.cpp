#include "DigitalTvPlugin/KxDigitalModule.h"

#include <new>

#include "Tuner/FrequencyListResource.h"
#include "platform/com/Utf.h"

CKxDigitalModule* g_MainModule = nullptr;

namespace {

int ResourceIdOf(std::u16string_view type) {
  if (type == u"KxTuningDataType_Dvbs") return kFrequencyListDvbs;
  if (type == u"KxTuningDataType_Dvbt") return kFrequencyListDvbt;
  if (type == u"KxTuningDataType_Dvbc") return kFrequencyListDvbc;
  return 0;
}

}  // namespace

HRESULT CKxDigitalModule::GetTuningDataFromResource(BSTR bstrType, BSTR* pbstrXml) {
  if (!bstrType || !pbstrXml) return E_POINTER;
  *pbstrXml = nullptr;
  const int id = ResourceIdOf(bstrType);
  if (id == 0) return E_FAIL;
  const std::string_view bytes = FindFrequencyListResource(id);
  if (bytes.empty()) return E_FAIL;
  try {
    // The lists are pure ASCII: one character per byte.
    return AllocOutString(Utf8ToUtf16(bytes), pbstrXml);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}
