#include "devplugins/KxDPApplyCACommand.h"

#include "devplugins/ReturnVariant.h"

HRESULT CKxDPApplyCACommand::CreateInstance(const KxDPApplyCAParam& param, IKxDPCommand** out) {
  if (!out) return E_POINTER;
  return ComObject<CKxDPApplyCACommand>::CreateAndQuery(out, param);
}

HRESULT CKxDPApplyCACommand::get_Command(LONG* code) {
  if (!code) return E_POINTER;
  *code = KxDPCommand_ApplyCA;
  return S_OK;
}

HRESULT CKxDPApplyCACommand::get_Param(LONG id, VARIANT* value) {
  if (!value) return E_POINTER;
  if (id != KxDPCommandParam_ApplyCA_PmtPid) return E_FAIL;
  Variant var(m_param.pmtPid);
  ReturnVariant(var, value);
  return S_OK;
}
