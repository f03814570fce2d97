#include "Channel/PidInfoRecord.h"

#include "Channel/KxAudioPidInfo.h"
#include "Channel/KxTeletextPidInfo.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "KxChannel";

template <class Class>
HRESULT Create(const char* trace, const ChannelPidRecord& record, ComPtr<ComObject<Class>>* pObj) {
  ComObject<Class>* pPidInfo = nullptr;
  const HRESULT hr = ComObject<Class>::CreateInstance(&pPidInfo);
  if (FAILED(hr)) {
    traceFailure(hr, trace, kLogFile);
    return hr;
  }
  *pObj = pPidInfo;
  (*pObj)->put_Pid(record.pid);
  (*pObj)->put_Type(record.streamType);
  return S_OK;
}

template <class Class>
HRESULT HandOut(const ComPtr<ComObject<Class>>& pObj, IKxPidInfo** ppPidInfo) {
  return pObj->QueryInterface(IidOf<IKxPidInfo>(), reinterpret_cast<void**>(ppPidInfo));
}

template <class Class>
HRESULT CreatePlain(const char* trace, const ChannelPidRecord& record, IKxPidInfo** ppPidInfo) {
  ComPtr<ComObject<Class>> pObj;
  RETURN_IF_FAILED(Create(trace, record, &pObj));
  return HandOut(pObj, ppPidInfo);
}
}  // namespace

HRESULT CreatePidInfo(const ChannelPidRecord& record, IKxPidInfo** ppPidInfo) {
  if (!ppPidInfo) return E_POINTER;
  *ppPidInfo = nullptr;
  const BStr language(record.language);
  switch (record.kind) {
    case PidRecordKind::Video:
      return CreatePlain<CKxVideoPidInfo>("(hr) = (CComObject<CKxVideoPidInfo>::CreateInstance(&pPidInfo))", record,
                                          ppPidInfo);
    case PidRecordKind::Pmt:
      return CreatePlain<CKxPmtPidInfo>("(hr) = (CComObject<CKxPmtPidInfo>::CreateInstance(&pPidInfo))", record,
                                        ppPidInfo);
    case PidRecordKind::Audio: {
      ComPtr<ComObject<CKxAudioPidInfo>> pObj;
      RETURN_IF_FAILED(Create("(hr) = (CComObject<CKxAudioPidInfo>::CreateInstance(&pPidInfo))", record, &pObj));
      RETURN_IF_FAILED(pObj->put_Iso639Language(language.Get()));
      pObj->put_Ac3(ToVariantBool(record.ac3));
      return HandOut(pObj, ppPidInfo);
    }
    case PidRecordKind::Teletext: {
      ComPtr<ComObject<CKxTeletextPidInfo>> pObj;
      RETURN_IF_FAILED(Create("(hr) = (CComObject<CKxTeletextPidInfo>::CreateInstance(&pPidInfo))", record, &pObj));
      RETURN_IF_FAILED(pObj->put_Iso639Language(language.Get()));
      pObj->put_TeletextType(record.teletextType);
      pObj->put_MagazineNumber(record.magazineNumber);
      pObj->put_PageNumber(record.pageNumber);
      return HandOut(pObj, ppPidInfo);
    }
    case PidRecordKind::Other:
      break;
  }
  return CreatePlain<CKxPidInfo>("(hr) = (CComObject<CKxPidInfo>::CreateInstance(&pPidInfo))", record, ppPidInfo);
}

HRESULT ReadPidInfo(IKxPidInfo* pPidInfo, ChannelPidRecord* pRecord) {
  if (!pPidInfo || !pRecord) return E_POINTER;
  ChannelPidRecord record;
  LONG lKind = 0;
  RETURN_IF_FAILED(pPidInfo->get_Pid(&record.pid));
  RETURN_IF_FAILED(pPidInfo->get_Type(&record.streamType));
  RETURN_IF_FAILED(pPidInfo->get_StreamType(&lKind));
  switch (lKind) {
    case KxPidKind_Video:
      record.kind = PidRecordKind::Video;
      break;
    case KxPidKind_Pmt:
      record.kind = PidRecordKind::Pmt;
      break;
    case KxPidKind_Audio:
      record.kind = PidRecordKind::Audio;
      if (const ComPtr<IKxAudioPidInfo> pAudio = QueryAs<IKxAudioPidInfo>(pPidInfo)) {
        BStr bstrLanguage;
        VARIANT_BOOL bAc3 = VARIANT_FALSE;
        RETURN_IF_FAILED(pAudio->get_Iso639Language(bstrLanguage.Put()));
        RETURN_IF_FAILED(pAudio->get_Ac3(&bAc3));
        record.language = bstrLanguage.View();
        record.ac3 = bAc3 != VARIANT_FALSE;
      }
      break;
    case KxPidKind_Teletext:
      record.kind = PidRecordKind::Teletext;
      record.teletextType = record.magazineNumber = record.pageNumber = -1;
      if (const ComPtr<IKxTeletextPidInfo> pTeletext = QueryAs<IKxTeletextPidInfo>(pPidInfo)) {
        BStr bstrLanguage;
        RETURN_IF_FAILED(pTeletext->get_Iso639Language(bstrLanguage.Put()));
        RETURN_IF_FAILED(pTeletext->get_TeletextType(&record.teletextType));
        RETURN_IF_FAILED(pTeletext->get_MagazineNumber(&record.magazineNumber));
        RETURN_IF_FAILED(pTeletext->get_PageNumber(&record.pageNumber));
        record.language = bstrLanguage.View();
      }
      break;
    default:
      record.kind = PidRecordKind::Other;
      break;
  }
  *pRecord = std::move(record);
  return S_OK;
}
