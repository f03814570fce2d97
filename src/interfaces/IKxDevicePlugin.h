#pragma once
// Contract between the graph manager and device plug-ins (vendor modules and
// the built-in one). The numbering is fixed: vendor modules depend on it.
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

// Events of IKxDevicePlugin::ExecuteCommand.
enum KxDPEvent : LONG {
  KxDPEvent_TuneRequest = 3,
  KxDPEvent_CA = 4,
};

// Codes of IKxDPCommand::get_Command.
enum KxDPCommandCode : LONG {
  KxDPCommand_TuneRequestDvbs = 3,
  KxDPCommand_TuneRequestDvbc = 4,
  KxDPCommand_TuneRequestDvbt = 5,
  KxDPCommand_TuneRequestAtsc = 6,
  KxDPCommand_ApplyCA = 7,
};

// Parameter ids of IKxDPCommand::get_Param.
enum KxDPCommandParam : LONG {
  KxDPCommandParam_TuneRequest20_LnbPosition = 22,
  KxDPCommandParam_TuneRequest20_CarrierFrequency = 23,
  KxDPCommandParam_TuneRequest20_Polarisation = 24,
  KxDPCommandParam_TuneRequest20_SymbolRate = 25,
  KxDPCommandParam_TuneRequest20_LnbSwitch = 26,
  KxDPCommandParam_TuneRequest20_InnerFec = 27,
  // 28 is the spare field.
  KxDPCommandParam_TuneRequest20_Modulation = 29,
  KxDPCommandParam_TuneRequest20_Pilot = 30,
  KxDPCommandParam_TuneRequest20_Rolloff = 31,
  KxDPCommandParam_TuneRequest20_NID = 32,
  KxDPCommandParam_TuneRequest20_TID = 33,
  KxDPCommandParam_TuneRequest20_SID = 34,
  KxDPCommandParam_TuneRequest20_PmtPid = 35,
  KxDPCommandParam_TuneRequest20_VideoPid = 36,
  KxDPCommandParam_TuneRequest20_AudioPid = 37,
  KxDPCommandParam_TuneRequest20_HighOscillator = 38,
  KxDPCommandParam_TuneRequest20_LowOscillator = 39,
  KxDPCommandParam_TuneRequest20_Bandwidth = 40,
  KxDPCommandParam_TuneRequest20_PhysicalChannel = 41,
  KxDPCommandParam_TuneRequest20_MinorChannel = 42,
  KxDPCommandParam_TuneRequest20_MajorChannel = 43,
  KxDPCommandParam_TuneRequest20_AtscNetworkType = 44,
  KxDPCommandParam_ApplyCA_PmtPid = 45,
};

// Property ids of IKxDPSetup. Ids 2..6 have no names in the contract.
enum KxDPSetupProperty : LONG {
  KxDPSetupProperty_NetworkProviderFilter = 0,
  KxDPSetupProperty_TunerFilter = 1,
  KxDPSetupProperty_GraphState = 7,
};

// Capability bits of IKxDevicePlugin::get_Capabilities.
enum KxDPCapability : LONG {
  KxDPCapability_TuneDvbs = 4,
  KxDPCapability_TuneDvbt = 8,
  KxDPCapability_TuneDvbc = 16,
  KxDPCapability_TuneAtsc = 32,
  KxDPCapability_CA = 64,
};

// Tune request as the graph manager fills it; a field it does not know is -1.
// The field order is the order of the parameter ids 22..44.
struct KxDPTuneRequestParam {
  int32_t lnbPosition;  // 1..4
  int32_t carrierFrequency;  // kHz
  int32_t polarisation;
  int32_t symbolRate;
  int32_t lnbSwitch;
  int32_t innerFec;
  int32_t spare;
  int32_t modulation;
  int32_t pilot;
  int32_t rolloff;
  int32_t networkId;
  int32_t transportStreamId;
  int32_t serviceId;
  int32_t pmtPid;
  int32_t videoPid;
  int32_t audioPid;
  int32_t highOscillator;
  int32_t lowOscillator;
  int32_t bandwidth;  // MHz
  int32_t physicalChannel;
  int32_t minorChannel;
  int32_t majorChannel;
  int32_t atscNetworkType;
};
static_assert(sizeof(KxDPTuneRequestParam) == 23 * sizeof(int32_t));

struct KxDPApplyCAParam {
  int32_t pmtPid;
};

struct IKxDPCommand : IUnknown {
  DTV_DECLARE_IID("{D7F46C3B-2F45-4C20-AADA-7F8BE3029698}");
  virtual HRESULT get_Command(LONG* code) = 0;
  virtual HRESULT get_Param(LONG id, VARIANT* value) = 0;

 protected:
  ~IKxDPCommand() = default;
};

struct IKxDPSetup : IUnknown {
  DTV_DECLARE_IID("{2E8997E1-FB0B-40A5-BD29-173C487FC529}");
  virtual HRESULT put_Property(LONG id, VARIANT value) = 0;
  virtual HRESULT get_Property(LONG id, VARIANT* value) = 0;

 protected:
  ~IKxDPSetup() = default;
};

struct IKxDevicePlugin : IUnknown {
  DTV_DECLARE_IID("{0A2AE524-D96F-40D3-83C3-DDF6B45AA678}");
  virtual HRESULT Init(IKxDPSetup* setup) = 0;
  virtual HRESULT Uninit() = 0;
  virtual HRESULT get_Capabilities(LONG* caps) = 0;
  virtual HRESULT get_Description(BSTR* text) = 0;
  virtual HRESULT get_Manufacturer(BSTR* text) = 0;
  virtual HRESULT get_Property(LONG id, VARIANT* value) = 0;
  virtual HRESULT ExecuteCommand(LONG event, IKxDPCommand* command) = 0;

 protected:
  ~IKxDevicePlugin() = default;
};

// Exports of a vendor module.
extern "C" {
using GetDevicePluginCountFn = HRESULT (*)(LONG* count);
using CreateDevicePluginInstanceByIndexFn = HRESULT (*)(LONG index, IKxDevicePlugin** plugin);
using CreateDevicePluginInstanceFn = HRESULT (*)(IKxDevicePlugin** plugin);
}
