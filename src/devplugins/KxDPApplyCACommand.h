#pragma once
// The conditional-access command handed to a device plug-in.
#include "interfaces/IKxDevicePlugin.h"
#include "platform/com/ComObject.h"

class CKxDPApplyCACommand : public IKxDPCommand {
 public:
  using InterfaceMap = ::InterfaceMap<IKxDPCommand>;

  static HRESULT CreateInstance(const KxDPApplyCAParam& param, IKxDPCommand** out);

  explicit CKxDPApplyCACommand(const KxDPApplyCAParam& param) : m_param(param) {}
  virtual ~CKxDPApplyCACommand() = default;

  HRESULT get_Command(LONG* code) override;
  HRESULT get_Param(LONG id, VARIANT* value) override;

 private:
  KxDPApplyCAParam m_param;
};
