// The signal of the tuned frequency: strength from the network provider,
// quality, presence and lock from the device's signal statistics nodes.
#include <algorithm>

#include "Tuner/KxTunerDigital.h"
#include "interfaces/IKxGraphManagerDigital.h"
#include "logging/LogFile.h"
#include "platform/bda/ControlInterfaces.h"
#include "platform/bda/Topology.h"
#include "platform/sync/Clock.h"

namespace {
static constexpr const char* kLogFile = "KxTunerDigital";
constexpr int kStrengthTries = 20;
constexpr uint32_t kStrengthRetryMs = 50;
constexpr uint32_t kLockPollMs = 100;
constexpr ULONG kMaxNodeTypes = 32;

LONG Percent(LONG value) { return std::clamp<LONG>(value, 0, 100); }
}  // namespace

HRESULT CKxTunerDigital::GetSignalStatistic(SignalReading* reading) {
  if (!reading) return E_POINTER;
  ComPtr<IUnknown> deviceFilter;
  RETURN_IF_FAILED(GetExtraInfo(KxExtraInfoType_VideoSourceFilter, deviceFilter.Put()));
  ComPtr<IScanningTuner> tuner;
  RETURN_IF_FAILED(GetScanningTuner(tuner.Put()));
  LONG strength = 0;
  HRESULT hr = E_FAIL;
  for (int attempt = 0; attempt < kStrengthTries; ++attempt) {
    hr = tuner->get_SignalStrength(&strength);
    if (SUCCEEDED(hr) || WaitForStop(kStrengthRetryMs)) break;
  }
  if (FAILED(hr)) {
    log(1, "IScanningTuner::get_SignalStrength() FAILED with 0x%08X", static_cast<unsigned>(hr));
    return S_OK;  // the caller's values stand
  }
  SignalReading measured;
  measured.read = true;
  measured.strength = Percent(strength);
  ReadNodeStatistics(deviceFilter.Get(), &measured);
  *reading = measured;
  return S_OK;
}

void CKxTunerDigital::ReadNodeStatistics(IUnknown* deviceFilter, SignalReading* reading) {
  const auto topology = QueryAs<IBDA_Topology>(deviceFilter);
  if (!topology) {
    log(1, "IBDA_Topology not supported");
    return;
  }
  ULONG types[kMaxNodeTypes];
  ULONG count = 0;
  if (FAILED(topology->GetNodeTypes(&count, kMaxNodeTypes, types))) {
    log(1, "Not found any control node!");
    return;
  }
  for (ULONG i = 0; i < count && i < kMaxNodeTypes; ++i) {
    ComPtr<IUnknown> node;
    if (FAILED(topology->GetControlNode(0, 1, types[i], node.Put()))) {
      log(1, "Control node (%d, %d, %d) not found", 0, 1, static_cast<int>(types[i]));
      continue;
    }
    const auto statistics = QueryAs<IBDA_SignalStatistics>(node.Get());
    if (!statistics) {
      log(1, "SignalStatistic not found");
      continue;
    }
    log(1, "Control node (%d, %d, %d) found", 0, 1, static_cast<int>(types[i]));
    LONG quality = 0;
    HRESULT hr = statistics->get_SignalQuality(&quality);
    log(1, "SignalQuality: %d, HRESULT: 0x%08X", static_cast<int>(quality), static_cast<unsigned>(hr));
    BOOLEAN present = 0, locked = 0;
    hr = statistics->get_SignalPresent(&present);
    log(1, "SignalPresent: %d, HRESULT: 0x%08X", static_cast<int>(present), static_cast<unsigned>(hr));
    reading->quality = std::max(reading->quality, Percent(quality));
    reading->present = reading->present || present != 0;
    if (SUCCEEDED(statistics->get_SignalLocked(&locked))) reading->locked = reading->locked || locked != 0;
    ULONG lockTime = 0;
    if (SUCCEEDED(statistics->get_LockTime(&lockTime))) reading->lockTimeMs = std::max(reading->lockTimeMs, lockTime);
  }
}

void CKxTunerDigital::WaitForLock(SignalReading* reading) {
  traceFailure(GetSignalStatistic(reading), "(hr) = (GetSignalStatistic(&lStrength, &lQuality, &bPresent))",
               kLogFile);
  const uint64_t tuned = CurrentClock().NowMs();
  // A frontend locks within its lock time or not at all; leave as soon as it does.
  while (reading->read && !reading->locked && CurrentClock().NowMs() - tuned < reading->lockTimeMs) {
    if (WaitForStop(kLockPollMs)) return;
    traceFailure(GetSignalStatistic(reading), "(hr) = (GetSignalStatistic(&lStrength, &lQuality, &bPresent))",
                 kLogFile);
  }
}
