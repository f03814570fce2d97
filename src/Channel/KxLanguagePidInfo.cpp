#include "Channel/BStrAssign.h"
#include "Channel/KxAudioPidInfo.h"
#include "Channel/KxTeletextPidInfo.h"

HRESULT CKxAudioPidInfo::put_Iso639Language(BSTR bstrLanguage) { return AssignBStr(m_language, bstrLanguage); }

HRESULT CKxTeletextPidInfo::put_Iso639Language(BSTR bstrLanguage) { return AssignBStr(m_language, bstrLanguage); }
