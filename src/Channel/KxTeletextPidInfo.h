#pragma once
#include "Channel/KxPidInfo.h"

class CKxTeletextPidInfo : public CKxPidInfoBase<IKxTeletextPidInfo, KxPidKind_Teletext> {
 public:
  using InterfaceMap = ::InterfaceMap<IKxTeletextPidInfo, InterfaceVia<IKxPidInfo, IKxTeletextPidInfo>>;

  HRESULT put_Iso639Language(BSTR bstrLanguage) override;
  HRESULT get_Iso639Language(BSTR* pbstrLanguage) override { return m_language.CopyTo(pbstrLanguage); }
  HRESULT put_TeletextType(LONG lType) override { return Set(m_lTeletextType, lType); }
  HRESULT get_TeletextType(LONG* plType) override { return Out(plType, m_lTeletextType); }
  HRESULT put_MagazineNumber(LONG lNumber) override { return Set(m_lMagazineNumber, lNumber); }
  HRESULT get_MagazineNumber(LONG* plNumber) override { return Out(plNumber, m_lMagazineNumber); }
  HRESULT put_PageNumber(LONG lNumber) override { return Set(m_lPageNumber, lNumber); }
  HRESULT get_PageNumber(LONG* plNumber) override { return Out(plNumber, m_lPageNumber); }

 private:
  static HRESULT Set(LONG& target, LONG value) {
    target = value;
    return S_OK;
  }

  BStr m_language{u""};
  LONG m_lTeletextType = 0;
  LONG m_lMagazineNumber = 0;
  LONG m_lPageNumber = 0;
};
