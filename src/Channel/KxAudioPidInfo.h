#pragma once
#include "Channel/KxPidInfo.h"

class CKxAudioPidInfo : public CKxPidInfoBase<IKxAudioPidInfo, KxPidKind_Audio> {
 public:
  using InterfaceMap = ::InterfaceMap<IKxAudioPidInfo, InterfaceVia<IKxPidInfo, IKxAudioPidInfo>>;

  HRESULT put_Iso639Language(BSTR bstrLanguage) override;
  HRESULT get_Iso639Language(BSTR* pbstrLanguage) override { return m_language.CopyTo(pbstrLanguage); }
  HRESULT put_Ac3(VARIANT_BOOL bAc3) override {
    m_bAc3 = bAc3 != VARIANT_FALSE;
    return S_OK;
  }
  HRESULT get_Ac3(VARIANT_BOOL* pbAc3) override { return Out(pbAc3, ToVariantBool(m_bAc3)); }

 private:
  BStr m_language{u""};
  bool m_bAc3 = false;
};
