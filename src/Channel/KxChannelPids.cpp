#include <iterator>

#include "Channel/KxAudioPidInfo.h"
#include "Channel/KxChannel.h"
#include "Channel/PidInfoRecord.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "KxChannel";
}

HRESULT CKxChannel::get_PidInfoByIndex(LONG lIndex, IKxPidInfo** ppPidInfo) {
  if (!ppPidInfo) return E_POINTER;
  *ppPidInfo = nullptr;
  if (lIndex < 0 || static_cast<size_t>(lIndex) >= m_pids.size()) return E_INVALIDARG;
  return CreatePidInfo(std::next(m_pids.begin(), lIndex)->second, ppPidInfo);
}

HRESULT CKxChannel::AddPidInfo(IKxPidInfo* pPidInfo) {
  ChannelPidRecord record;
  RETURN_IF_FAILED(ReadPidInfo(pPidInfo, &record));
  switch (record.kind) {
    case PidRecordKind::Video:
      AddVideoPid(record.pid, record.streamType);
      break;
    case PidRecordKind::Audio:
      AddAudioPid(record.pid, record.streamType, record.language, record.ac3);
      break;
    case PidRecordKind::Teletext:
      AddTeletextPid(record.pid, record.streamType, record.language, record.teletextType, record.magazineNumber,
                     record.pageNumber);
      break;
    case PidRecordKind::Pmt:
      AddPmtPid(record.pid);
      break;
    case PidRecordKind::Other:
      AddOtherPid(record.pid, record.streamType);
      break;
  }
  return S_OK;
}

HRESULT CKxChannel::GetDefaultChannelPids(IKxChannel* pChannel, LONG* plVideoPid, LONG* plAudioPid, LONG* plPmtPid,
                                          LONG* plVideoStreamType, LONG* plAudioStreamType, bool* pbIsAc3) {
  if (!pChannel || !plVideoPid || !plAudioPid || !plPmtPid || !plVideoStreamType || !plAudioStreamType || !pbIsAc3)
    return E_POINTER;
  *plVideoPid = *plAudioPid = *plPmtPid = *plVideoStreamType = *plAudioStreamType = 0;
  *pbIsAc3 = false;

  LONG lCount = 0;
  RETURN_IF_FAILED(pChannel->get_PidInfoCount(&lCount));
  for (LONG l = 0; l < lCount; ++l) {
    ComPtr<IKxPidInfo> pPidInfo;
    LONG lStreamType = 0;
    LONG lPid = 0;
    LONG lType = 0;
    RETURN_IF_FAILED(pChannel->get_PidInfoByIndex(l, pPidInfo.Put()));
    RETURN_IF_FAILED(pPidInfo->get_StreamType(&lStreamType));
    RETURN_IF_FAILED(pPidInfo->get_Pid(&lPid));
    RETURN_IF_FAILED(pPidInfo->get_Type(&lType));
    if (lStreamType == KxPidKind_Video) {
      *plVideoPid = lPid;
      *plVideoStreamType = lType;
    } else if (lStreamType == KxPidKind_Audio && *plAudioPid == 0) {
      *plAudioPid = lPid;
      *plAudioStreamType = lType;
      if (const ComPtr<IKxAudioPidInfo> pAudioPidInfo = QueryAs<IKxAudioPidInfo>(pPidInfo.Get())) {
        VARIANT_BOOL bVal = VARIANT_FALSE;
        RETURN_IF_FAILED(pAudioPidInfo->get_Ac3(&bVal));
        *pbIsAc3 = bVal != VARIANT_FALSE;
      }
    } else if (lStreamType == KxPidKind_Pmt) {
      *plPmtPid = lPid;
    }
  }
  return S_OK;
}
