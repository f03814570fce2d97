#pragma once
// Tuning a Linux DVB frontend with DVBv5 properties: the delivery system
// follows the demodulator the network provider set, frequencies and rates go
// in the units of the API (Hz; satellite: intermediate frequency in kHz).
// Satellite tunes first set the LNB: voltage by polarisation, a DiSEqC 1.0
// committed-switch command for the input, and the 22 kHz tone for the band.
#include <linux/dvb/frontend.h>

#include <string>
#include <vector>

#include "platform/bda/DeliverySystem.h"
#include "platform/bda/TunerSettings.h"
#include "platform/linuxdvb/FrontendIo.h"

// The properties of one tune, DTV_TUNE last; empty with `error` set when
// the frontend cannot receive the settings.
std::vector<dtv_property> TuningProperties(const TunerSettings& settings, const std::vector<DeliverySystem>& systems,
                                           std::string& error);

// The committed-switch command for DiSEqC input 0 to 3.
dvb_diseqc_master_cmd CommittedSwitchCommand(int input, bool horizontal, bool highBand);

// Sets the LNB (satellite only) and tunes. 0, or -1 with `error` set.
int TuneFrontend(FrontendIo& io, int fd, const TunerSettings& settings, const std::vector<DeliverySystem>& systems,
                 std::string& error);
