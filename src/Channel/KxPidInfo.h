#pragma once
// PID information objects: one class per kind, all answering IKxPidInfo.
#include "interfaces/IKxPidInfo.h"
#include "platform/com/ComObject.h"

template <class Interface, LONG Kind>
class CKxPidInfoBase : public Interface {
 public:
  HRESULT put_Pid(LONG lPid) override {
    m_lPid = lPid;
    return S_OK;
  }
  HRESULT get_Pid(LONG* plPid) override { return Out(plPid, m_lPid); }
  HRESULT put_Type(LONG lType) override {
    m_lType = lType;
    return S_OK;
  }
  HRESULT get_Type(LONG* plType) override { return Out(plType, m_lType); }
  HRESULT get_StreamType(LONG* plStreamType) override { return Out(plStreamType, Kind); }

  virtual ~CKxPidInfoBase() = default;

 protected:
  template <class T>
  static HRESULT Out(T* out, T value) {
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
  }

 private:
  LONG m_lPid = 0;
  LONG m_lType = 0;
};

class CKxPidInfo : public CKxPidInfoBase<IKxPidInfo, KxPidKind_Other> {
 public:
  using InterfaceMap = ::InterfaceMap<IKxPidInfo>;
};

class CKxVideoPidInfo : public CKxPidInfoBase<IKxVideoPidInfo, KxPidKind_Video> {
 public:
  using InterfaceMap = ::InterfaceMap<IKxVideoPidInfo, InterfaceVia<IKxPidInfo, IKxVideoPidInfo>>;
};

class CKxPmtPidInfo : public CKxPidInfoBase<IKxPmtPidInfo, KxPidKind_Pmt> {
 public:
  using InterfaceMap = ::InterfaceMap<IKxPmtPidInfo, InterfaceVia<IKxPidInfo, IKxPmtPidInfo>>;
};
