#include "devplugins/KxDPTuneRequestCommand.h"

#include <cstring>
#include <iterator>

#include "devplugins/ReturnVariant.h"
#include "interfaces/IKxCaptureDevice.h"

namespace {
// The capture device types a tune request exists for, and their commands.
struct DeviceCommand {
  LONG deviceType;
  LONG command;
};
constexpr DeviceCommand kDeviceCommands[] = {
    {KxCaptureDeviceType_Atsc, KxDPCommand_TuneRequestAtsc},
    {KxCaptureDeviceType_Dvbt, KxDPCommand_TuneRequestDvbt},
    {KxCaptureDeviceType_Dvbs, KxDPCommand_TuneRequestDvbs},
    {KxCaptureDeviceType_Dvbc, KxDPCommand_TuneRequestDvbc},
};

constexpr LONG kFirstParam = KxDPCommandParam_TuneRequest20_LnbPosition;
constexpr LONG kLastParam = KxDPCommandParam_TuneRequest20_AtscNetworkType;
}  // namespace

HRESULT CKxDPTuneRequestCommand::CreateInstance(LONG deviceType, const KxDPTuneRequestParam& param,
                                                IKxDPCommand** out) {
  if (!out) return E_POINTER;
  const auto* entry = std::begin(kDeviceCommands);
  while (entry != std::end(kDeviceCommands) && entry->deviceType != deviceType) ++entry;
  if (entry == std::end(kDeviceCommands)) return E_FAIL;
  auto command = ComObject<CKxDPTuneRequestCommand>::Make();
  if (!command) return E_OUTOFMEMORY;
  std::memcpy(command->m_fields.data(), &param, sizeof param);
  command->m_lCommand = entry->command;
  *out = command.Detach();
  return S_OK;
}

CKxDPTuneRequestCommand::CKxDPTuneRequestCommand() {
  m_fields.fill(-1);
  m_fields.front() = 0;
  m_fields.back() = 1;
}

HRESULT CKxDPTuneRequestCommand::get_Command(LONG* code) {
  if (!code) return E_POINTER;
  *code = m_lCommand;
  return S_OK;
}

HRESULT CKxDPTuneRequestCommand::get_Param(LONG id, VARIANT* value) {
  if (!value) return E_POINTER;
  if (id < kFirstParam || id > kLastParam) return E_FAIL;
  Variant var;
  if (id == KxDPCommandParam_TuneRequest20_LnbPosition) {
    // Plug-ins count LNB positions from 0; anything outside 1..4 is unknown.
    const int32_t position = m_fields.front();
    if (position >= 1 && position <= 4) var = Variant(position - 1);
  } else {
    var = Variant(m_fields[id - kFirstParam]);
  }
  ReturnVariant(var, value);
  return S_OK;
}
