#include "platform/linuxdvb/FrontendTuning.h"

#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/bda/Topology.h"
#include "platform/sync/Clock.h"

namespace {
// Settling time around DiSEqC commands that switches need.
constexpr uint32_t kDiseqcSettleMs = 15;

bool Has(const std::vector<DeliverySystem>& systems, DeliverySystem system) {
  return std::find(systems.begin(), systems.end(), system) != systems.end();
}

fe_modulation FeModulation(ModulationType modulation) {
  switch (modulation) {
    case BDA_MOD_16QAM: return QAM_16;
    case BDA_MOD_32QAM: return QAM_32;
    case BDA_MOD_64QAM: return QAM_64;
    case BDA_MOD_128QAM: return QAM_128;
    case BDA_MOD_256QAM: return QAM_256;
    case BDA_MOD_QPSK:
    case BDA_MOD_NBC_QPSK: return QPSK;
    case BDA_MOD_8PSK:
    case BDA_MOD_NBC_8PSK: return PSK_8;
    case BDA_MOD_16APSK: return APSK_16;
    case BDA_MOD_32APSK: return APSK_32;
    case BDA_MOD_8VSB: return VSB_8;
    case BDA_MOD_16VSB: return VSB_16;
    default: return QAM_AUTO;
  }
}

fe_code_rate FeCodeRate(BinaryConvolutionCodeRate rate) {
  switch (rate) {
    case BDA_BCC_RATE_1_2: return FEC_1_2;
    case BDA_BCC_RATE_2_3: return FEC_2_3;
    case BDA_BCC_RATE_3_4: return FEC_3_4;
    case BDA_BCC_RATE_3_5: return FEC_3_5;
    case BDA_BCC_RATE_4_5: return FEC_4_5;
    case BDA_BCC_RATE_5_6: return FEC_5_6;
    case BDA_BCC_RATE_7_8: return FEC_7_8;
    case BDA_BCC_RATE_2_5: return FEC_2_5;
    case BDA_BCC_RATE_6_7: return FEC_6_7;
    case BDA_BCC_RATE_8_9: return FEC_8_9;
    case BDA_BCC_RATE_9_10: return FEC_9_10;
    default: return FEC_AUTO;  // 1/4, 1/3 and 5/11 have no DVBv5 value
  }
}

fe_rolloff FeRollOff(RollOff rollOff) {
  switch (rollOff) {
    case BDA_ROLL_OFF_20: return ROLLOFF_20;
    case BDA_ROLL_OFF_25: return ROLLOFF_25;
    case BDA_ROLL_OFF_35: return ROLLOFF_35;
    default: return ROLLOFF_AUTO;
  }
}

fe_pilot FePilot(Pilot pilot) {
  switch (pilot) {
    case BDA_PILOT_OFF: return PILOT_OFF;
    case BDA_PILOT_ON: return PILOT_ON;
    default: return PILOT_AUTO;
  }
}

bool IsSatellite2(ModulationType modulation) {
  return modulation == BDA_MOD_8PSK || modulation == BDA_MOD_16APSK || modulation == BDA_MOD_32APSK ||
         modulation == BDA_MOD_NBC_QPSK || modulation == BDA_MOD_NBC_8PSK;
}

bool IsVsb(ModulationType modulation) {
  return modulation == BDA_MOD_8VSB || modulation == BDA_MOD_16VSB || modulation == BDA_MOD_NOT_SET;
}

dtv_property Property(uint32_t cmd, uint32_t data) {
  dtv_property p{};
  p.cmd = cmd;
  p.u.data = data;
  return p;
}

int SetProperties(FrontendIo& io, int fd, std::vector<dtv_property> props) {
  dtv_properties list{static_cast<uint32_t>(props.size()), props.data()};
  return io.Ioctl(fd, FE_SET_PROPERTY, &list);
}

int SetLnb(FrontendIo& io, int fd, const TunerSettings& settings, std::string& error) {
  const bool horizontal = IsHighVoltagePolarisation(settings.polarisation);
  const bool high = ToIntermediateFrequency(settings.frequencyKHz, settings.lnb).highBand;
  auto fail = [&](const char* what) {
    error = std::string(what) + ": " + std::strerror(errno);
    return -1;
  };
  // The tone must be off while a DiSEqC command goes out.
  if (io.Ioctl(fd, FE_SET_TONE, reinterpret_cast<void*>(SEC_TONE_OFF)) != 0) return fail("FE_SET_TONE");
  if (io.Ioctl(fd, FE_SET_VOLTAGE, reinterpret_cast<void*>(horizontal ? SEC_VOLTAGE_18 : SEC_VOLTAGE_13)) != 0)
    return fail("FE_SET_VOLTAGE");
  if (settings.range) {
    dvb_diseqc_master_cmd command = CommittedSwitchCommand(DiseqcInput(*settings.range), horizontal, high);
    SleepMs(kDiseqcSettleMs);
    if (io.Ioctl(fd, FE_DISEQC_SEND_MASTER_CMD, &command) != 0) return fail("FE_DISEQC_SEND_MASTER_CMD");
    SleepMs(kDiseqcSettleMs);
  }
  if (io.Ioctl(fd, FE_SET_TONE, reinterpret_cast<void*>(high ? SEC_TONE_ON : SEC_TONE_OFF)) != 0)
    return fail("FE_SET_TONE");
  return 0;
}
}  // namespace

dvb_diseqc_master_cmd CommittedSwitchCommand(int input, bool horizontal, bool highBand) {
  // Framing: command from master, no reply; address: any LNB or switch;
  // command 0x38: write port group 0 (committed switches).
  const uint8_t data = static_cast<uint8_t>(0xF0 | ((input & 3) << 2) | (horizontal ? 2 : 0) | (highBand ? 1 : 0));
  return dvb_diseqc_master_cmd{{0xE0, 0x10, 0x38, data, 0, 0}, 4};
}

std::vector<dtv_property> TuningProperties(const TunerSettings& settings, const std::vector<DeliverySystem>& systems,
                                           std::string& error) {
  const GUID& node = settings.demodulator;
  std::vector<dtv_property> props;
  uint32_t frequency = settings.frequencyKHz * 1000;
  fe_modulation modulation = FeModulation(settings.modulation);
  fe_delivery_system system = SYS_UNDEFINED;
  if (node == KSNODE_BDA_QPSK_DEMODULATOR) {
    const bool s2 = IsSatellite2(settings.modulation) || !Has(systems, DeliverySystem::DvbS);
    system = s2 ? SYS_DVBS2 : SYS_DVBS;
    frequency = ToIntermediateFrequency(settings.frequencyKHz, settings.lnb).khz;
    if (modulation == QAM_AUTO) modulation = QPSK;
  } else if (node == KSNODE_BDA_COFDM_DEMODULATOR) {
    system = Has(systems, DeliverySystem::DvbT) ? SYS_DVBT : SYS_DVBT2;
  } else if (node == KSNODE_BDA_QAM_DEMODULATOR) {
    system = SYS_DVBC_ANNEX_A;
  } else if (node == KSNODE_BDA_8VSB_DEMODULATOR) {
    system = IsVsb(settings.modulation) ? SYS_ATSC : SYS_DVBC_ANNEX_B;
    if (system == SYS_ATSC) modulation = settings.modulation == BDA_MOD_16VSB ? VSB_16 : VSB_8;
  } else {
    error = "no demodulator was set";
    return {};
  }
  props.push_back(Property(DTV_DELIVERY_SYSTEM, system));
  props.push_back(Property(DTV_FREQUENCY, frequency));
  if (settings.bandwidthMHz > 0) props.push_back(Property(DTV_BANDWIDTH_HZ, settings.bandwidthMHz * 1000000));
  props.push_back(Property(DTV_MODULATION, modulation));
  if (settings.symbolRate > 0) props.push_back(Property(DTV_SYMBOL_RATE, settings.symbolRate * 1000));
  // Unset values stay automatic (DTV_CLEAR went first).
  const bool fecSystem = system == SYS_DVBS || system == SYS_DVBS2 || system == SYS_DVBC_ANNEX_A;
  if (fecSystem && settings.innerFec > BDA_BCC_RATE_NOT_DEFINED)
    props.push_back(Property(DTV_INNER_FEC, FeCodeRate(settings.innerFec)));
  if (system == SYS_DVBS2 && settings.rollOff > BDA_ROLL_OFF_NOT_DEFINED)
    props.push_back(Property(DTV_ROLLOFF, FeRollOff(settings.rollOff)));
  if (system == SYS_DVBS2 && settings.pilot > BDA_PILOT_NOT_DEFINED)
    props.push_back(Property(DTV_PILOT, FePilot(settings.pilot)));
  props.push_back(Property(DTV_INVERSION, INVERSION_AUTO));
  props.push_back(Property(DTV_TUNE, 0));
  return props;
}

int TuneFrontend(FrontendIo& io, int fd, const TunerSettings& settings, const std::vector<DeliverySystem>& systems,
                 std::string& error) {
  std::vector<dtv_property> props = TuningProperties(settings, systems, error);
  if (props.empty()) return -1;
  // Every value not set here returns to automatic.
  if (SetProperties(io, fd, {Property(DTV_CLEAR, 0)}) != 0) {
    error = std::string("FE_SET_PROPERTY(DTV_CLEAR): ") + std::strerror(errno);
    return -1;
  }
  if (settings.demodulator == KSNODE_BDA_QPSK_DEMODULATOR && SetLnb(io, fd, settings, error) != 0) return -1;
  if (SetProperties(io, fd, std::move(props)) != 0) {
    error = std::string("FE_SET_PROPERTY: ") + std::strerror(errno);
    return -1;
  }
  return 0;
}
