#include "live/ScanSetup.h"

#include "dtvhost/HostError.h"
#include "interfaces/IKxLnbControl.h"
#include "live/HostLnb.h"
#include "live/TuningDataFile.h"
#include "platform/com/ComPtr.h"

namespace {
// A country whose built-in networks are one group: the tuner then asks a
// tuning-data file for its transponders once.
constexpr LONG kOneNetworkCountry = 49;

void SetProperty(IKxTuner* tuner, LONG key, bool on) {
  Variant value(static_cast<int32_t>(on ? 1 : 0));
  if (FAILED(tuner->put_Property(key, value))) throw HostError("the tuner refuses the search settings");
}

void SetCountry(IKxTuner* tuner, LONG country) {
  if (const auto dvbt = QueryAs<IKxTunerSetupDvbt>(tuner)) {
    if (FAILED(dvbt->put_CountryCode(country))) throw HostError("the tuner refuses the country code");
  } else if (const auto dvbc = QueryAs<IKxTunerSetupDvbc>(tuner)) {
    if (FAILED(dvbc->put_CountryCode(country))) throw HostError("the tuner refuses the country code");
  } else {
    throw HostError("--country is for DVB-T and DVB-C devices");
  }
}

void SetTuningData(IKxTuner* tuner, const std::string& path) {
  std::string error;
  const auto data = LoadTuningDataFile(path, error);
  if (!data) throw HostError(error);
  const auto setup = QueryAs<IKxTunerSetupTuningData>(tuner);
  const bool fits = data->Satellite() ? static_cast<bool>(QueryAs<IKxTunerSetupDvbs>(tuner))
                                      : QueryAs<IKxTunerSetupDvbt>(tuner) || QueryAs<IKxTunerSetupDvbc>(tuner);
  if (!setup || !fits || FAILED(setup->SetTuningData(static_cast<IKxTuningData*>(data.Get()))))
    throw HostError(path + ": the device does not take tuning data of this delivery system");
  if (!data->Satellite()) SetCountry(tuner, kOneNetworkCountry);
}

void AddLnbs(IKxTuner* tuner, const std::vector<std::string>& lnbs) {
  std::vector<LnbSetting> settings;
  for (const std::string& text : lnbs) {
    std::string error;
    const auto setting = ParseLnb(text, error);
    if (!setting) throw HostError(error);
    settings.push_back(*setting);
  }
  const auto dvbs = QueryAs<IKxTunerSetupDvbs>(tuner);
  if (!dvbs) throw HostError("--lnb is for DVB-S devices");
  ComPtr<IUnknown> object;
  ComPtr<IKxLnbControl> control;
  if (SUCCEEDED(dvbs->get_LnbControl(object.Put()))) control = QueryAs<IKxLnbControl>(object.Get());
  if (!control) throw HostError("the device offers no LNB setup");
  for (const LnbSetting& setting : settings) {
    const auto lnb = ComObject<CHostLnb>::Make(setting);
    if (FAILED(control->AddLnb(lnb.Get())))
      throw HostError("the device refuses the LNB at position " + std::to_string(setting.position));
  }
}
}  // namespace

void AddScanSetupOptions(CLI::App* command, ScanSetup& setup) {
  auto* country = command->add_option("--country", setup.country, "Country calling code whose networks to scan (e.g. 49)")
                      ->check(CLI::Range(1, 999));
  command->add_option("--tuning-data", setup.tuningData, "Tuning data XML to scan instead of the built-in lists ('dtv import')")
      ->excludes(country);
  command->add_flag("--network-search", setup.networkSearch,
                    "Also scan the transponders each multiplex's NIT announces");
  command->add_option("--lnb", setup.lnbs,
                      "A DVB-S LNB POS:SAT:LOW:HIGH:SWITCH (DiSEqC 1-4, e.g. 192E, MHz), once per LNB")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

void ApplyScanSetup(IKxTuner* tuner, const ScanSetup& setup) {
  SetProperty(tuner, KxTunerProperty_NetworkSearch, setup.networkSearch);
  SetProperty(tuner, KxTunerProperty_WaitForNit, setup.networkSearch);
  if (!setup.tuningData.empty()) SetTuningData(tuner, setup.tuningData);
  if (!setup.lnbs.empty()) AddLnbs(tuner, setup.lnbs);
  if (setup.country != 0) SetCountry(tuner, static_cast<LONG>(setup.country));
}
