#include "live/ScanSetup.h"

#include "dtvhost/HostError.h"
#include "platform/com/ComPtr.h"

namespace {
void SetProperty(IKxTuner* tuner, LONG key, bool on) {
  Variant value(static_cast<int32_t>(on ? 1 : 0));
  if (FAILED(tuner->put_Property(key, value))) throw HostError("the tuner refuses the search settings");
}
}  // namespace

void AddScanSetupOptions(CLI::App* command, ScanSetup& setup) {
  command->add_option("--country", setup.country, "Country calling code whose networks to scan (e.g. 49)")
      ->check(CLI::Range(1, 999));
  command->add_flag("--network-search", setup.networkSearch,
                    "Also scan the transponders each multiplex's NIT announces");
}

void ApplyScanSetup(IKxTuner* tuner, const ScanSetup& setup) {
  SetProperty(tuner, KxTunerProperty_NetworkSearch, setup.networkSearch);
  SetProperty(tuner, KxTunerProperty_WaitForNit, setup.networkSearch);
  if (setup.country == 0) return;
  const LONG country = static_cast<LONG>(setup.country);
  if (const auto dvbt = QueryAs<IKxTunerSetupDvbt>(tuner)) {
    if (FAILED(dvbt->put_CountryCode(country))) throw HostError("the tuner refuses the country code");
  } else if (const auto dvbc = QueryAs<IKxTunerSetupDvbc>(tuner)) {
    if (FAILED(dvbc->put_CountryCode(country))) throw HostError("the tuner refuses the country code");
  } else {
    throw HostError("--country is for DVB-T and DVB-C devices");
  }
}
