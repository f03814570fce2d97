#include "channels/PidInfoObjects.h"

#include "Channel/KxAudioPidInfo.h"
#include "Channel/KxTeletextPidInfo.h"
#include "platform/com/Utf.h"

namespace {
template <class Info>
ComPtr<ComObject<Info>> Make(LONG pid, LONG streamType) {
  ComPtr<ComObject<Info>> info = ComObject<Info>::Make();
  if (info) {
    info->put_Pid(pid);
    info->put_Type(streamType);
  }
  return info;
}

template <class Info>
ComPtr<IKxPidInfo> AsPidInfo(const ComPtr<Info>& info) {
  return info ? QueryAs<IKxPidInfo>(info.Get()) : ComPtr<IKxPidInfo>();
}
}  // namespace

ComPtr<IKxPidInfo> VideoPidInfo(LONG pid, LONG streamType) { return AsPidInfo(Make<CKxVideoPidInfo>(pid, streamType)); }

ComPtr<IKxPidInfo> AudioPidInfo(LONG pid, LONG streamType, const std::string& language, bool ac3) {
  const auto info = Make<CKxAudioPidInfo>(pid, streamType);
  if (info) {
    const BStr text(Utf8ToUtf16(language));
    info->put_Iso639Language(text.Get());
    info->put_Ac3(ToVariantBool(ac3));
  }
  return AsPidInfo(info);
}

ComPtr<IKxPidInfo> TeletextPidInfo(LONG pid, LONG streamType, const std::string& language, LONG teletextType,
                                   LONG magazine, LONG page) {
  const auto info = Make<CKxTeletextPidInfo>(pid, streamType);
  if (info) {
    const BStr text(Utf8ToUtf16(language));
    info->put_Iso639Language(text.Get());
    info->put_TeletextType(teletextType);
    info->put_MagazineNumber(magazine);
    info->put_PageNumber(page);
  }
  return AsPidInfo(info);
}

ComPtr<IKxPidInfo> PmtPidInfo(LONG pid) { return AsPidInfo(Make<CKxPmtPidInfo>(pid, 0)); }

ComPtr<IKxPidInfo> OtherPidInfo(LONG pid, LONG streamType) { return AsPidInfo(Make<CKxPidInfo>(pid, streamType)); }
