#pragma once
// The tune request handed to a device plug-in for one ExecuteCommand call.
#include <array>

#include "interfaces/IKxDevicePlugin.h"
#include "platform/com/ComObject.h"

class CKxDPTuneRequestCommand : public IKxDPCommand {
 public:
  using InterfaceMap = ::InterfaceMap<IKxDPCommand>;

  // `deviceType` is a capture device type (ATSC, DVB-T, DVB-S or DVB-C).
  static HRESULT CreateInstance(LONG deviceType, const KxDPTuneRequestParam& param, IKxDPCommand** out);

  CKxDPTuneRequestCommand();
  virtual ~CKxDPTuneRequestCommand() = default;

  HRESULT get_Command(LONG* code) override;
  HRESULT get_Param(LONG id, VARIANT* value) override;

 private:
  // The record's fields in order, indexed by parameter id - 22.
  std::array<int32_t, 23> m_fields;
  LONG m_lCommand = 0;
};
