// How the default plug-in reads a tune request command.
#include <initializer_list>

#include "devplugins/DefaultPlugin.h"
#include "logging/LogFile.h"

namespace {
constexpr const char* kLogFile = "DefaultPlugin";

struct ParamRead {
  LONG id;
  const char* expression;
  int32_t* target;
  bool optional = false;  // an empty answer leaves the target at -1
};

#define DP_PARAM(id, var, target) ParamRead{id, "(hr) = (pCmd->get_Param(" #id ", &" #var "))", &(target)}

bool IntegerOf(const VARIANT& var, int32_t& value) {
  if (var.vt == VT_I4) value = var.lVal;
  else if (var.vt == VT_I2) value = var.iVal;
  else return false;
  return true;
}

// Reads the parameters in order, stopping at the first failure. A parameter
// that is not an integer is missing: the tune cannot happen without it.
HRESULT ReadParams(IKxDPCommand* pCmd, std::initializer_list<ParamRead> params) {
  for (const ParamRead& param : params) {
    Variant var;
    const HRESULT hr = pCmd->get_Param(param.id, &var);
    if (FAILED(hr)) {
      traceFailure(hr, param.expression, kLogFile);
      return hr;
    }
    *param.target = -1;
    if (!IntegerOf(var, *param.target) && !param.optional) {
      log(1, "Default plugin: tune request parameter %d missing", static_cast<int>(param.id));
      return E_INVALIDARG;
    }
  }
  return S_OK;
}
}  // namespace

HRESULT CDefaultPlugin::ExecuteCommand(LONG event, IKxDPCommand* pCmd) {
  if (!pCmd) return E_POINTER;
  LONG cmd = 0;
  HRESULT hr = pCmd->get_Command(&cmd);
  traceFailure(hr, "(hr) = (pCmd->get_Command(&cmd))", kLogFile);
  if (FAILED(hr) || event != KxDPEvent_TuneRequest) return hr;
  KxTuningInfo info;
  DvbServiceIds ids;
  int32_t nid = -1, tid = -1, sid = -1;
  switch (cmd) {
    case KxDPCommand_TuneRequestDvbs: {
      int32_t lnbPos = -1;
      ParamRead position = DP_PARAM(KxDPCommandParam_TuneRequest20_LnbPosition, varLnbPos, lnbPos);
      position.optional = true;  // no position: a single LNB without DiSEqC
      hr = ReadParams(pCmd, {position, DP_PARAM(KxDPCommandParam_TuneRequest20_Polarisation, varPol, info.nPolarisation),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_CarrierFrequency, varFreq, info.nFrequency),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_SymbolRate, varSR, info.nSymbolRate),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_NID, varNID, nid),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_TID, varTID, tid),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_SID, varSID, sid),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_HighOscillator, varHighOsc, info.nHighOscillator),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_LowOscillator, varLowOsc, info.nLowOscillator),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_LnbSwitch, varLnbSwitch, info.nLnbSwitch),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_InnerFec, varInnerFec, info.nInnerFec),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_Modulation, varModulation, info.nModulation),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_Pilot, varPilot, info.nPilot),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_Rolloff, varRolloff, info.nRollOff)});
      if (FAILED(hr)) return hr;
      SwitchDiseqc(lnbPos);  // a failed switch still leaves the tune to try
      hr = PutDvbsTuneRequest(info, {nid, tid, sid});
      traceFailure(hr, "(hr) = (PutDvbsTuneRequest(nFreq, nPol, nSR, nNID, nTID, nSID, nHighOsc, nLowOsc))", kLogFile);
      return hr;
    }
    case KxDPCommand_TuneRequestDvbt:
      hr = ReadParams(pCmd, {DP_PARAM(KxDPCommandParam_TuneRequest20_CarrierFrequency, varFreq, info.nFrequency),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_Bandwidth, varBandwidth, info.nBandwidth),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_NID, varNID, nid),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_TID, varTID, tid),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_SID, varSID, sid)});
      if (FAILED(hr)) return hr;
      hr = PutDvbtTuneRequest(info, {nid, tid, sid});
      traceFailure(hr, "(hr) = (PutDvbtTuneRequest(nFreq, nBandwidth, nNID, nTID, nSID))", kLogFile);
      return hr;
    case KxDPCommand_TuneRequestDvbc:
      hr = ReadParams(pCmd, {DP_PARAM(KxDPCommandParam_TuneRequest20_Modulation, varModulation, info.nModulation),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_CarrierFrequency, varFreq, info.nFrequency),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_SymbolRate, varSR, info.nSymbolRate),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_NID, varNID, nid),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_TID, varTID, tid),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_SID, varSID, sid),
                             DP_PARAM(KxDPCommandParam_TuneRequest20_InnerFec, varInnerFec, info.nInnerFec)});
      if (FAILED(hr)) return hr;
      hr = PutDvbcTuneRequest(info, {nid, tid, sid});
      traceFailure(hr, "(hr) = (PutDvbcTuneRequest(nFreq, nSR, nModulation, nNID, nTID, nSID))", kLogFile);
      return hr;
    case KxDPCommand_TuneRequestAtsc: {
      int32_t networkType = -1, major = -1, minor = -1;
      hr = ReadParams(pCmd,
                      {DP_PARAM(KxDPCommandParam_TuneRequest20_PhysicalChannel, varPhysicalChannel, info.nPhysicalChannel),
                       DP_PARAM(KxDPCommandParam_TuneRequest20_AtscNetworkType, varNetworkType, networkType),
                       DP_PARAM(KxDPCommandParam_TuneRequest20_MinorChannel, varMinorChannel, minor),
                       DP_PARAM(KxDPCommandParam_TuneRequest20_MajorChannel, varMajorChannel, major),
                       DP_PARAM(KxDPCommandParam_TuneRequest20_CarrierFrequency, varFreq, info.nFrequency),
                       DP_PARAM(KxDPCommandParam_TuneRequest20_Modulation, varModulation, info.nModulation)});
      if (FAILED(hr)) return hr;
      hr = PutAtscTuneRequest(info, networkType, major, minor);
      traceFailure(hr, "(hr) = (PutAtscTuneRequest(nPhysicalChannel, nFreq, nNetworkType, nMajor, nMinor))", kLogFile);
      return hr;
    }
    default:
      return hr;
  }
}
