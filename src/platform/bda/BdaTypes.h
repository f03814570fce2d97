#pragma once
// Values of the broadcast driver model: modulations, polarisations, system
// types and the class identifiers of the network providers.
#include "platform/com/Guid.h"
#include "platform/com/Types.h"

enum ModulationType : LONG {
  BDA_MOD_NOT_SET = -1,
  BDA_MOD_NOT_DEFINED = 0,
  BDA_MOD_16QAM = 1,
  BDA_MOD_32QAM = 2,
  BDA_MOD_64QAM = 3,
  BDA_MOD_80QAM = 4,
  BDA_MOD_96QAM = 5,
  BDA_MOD_112QAM = 6,
  BDA_MOD_128QAM = 7,
  BDA_MOD_160QAM = 8,
  BDA_MOD_192QAM = 9,
  BDA_MOD_224QAM = 10,
  BDA_MOD_256QAM = 11,
  BDA_MOD_QPSK = 20,
  BDA_MOD_BPSK = 21,
  BDA_MOD_OQPSK = 22,
  BDA_MOD_8VSB = 23,
  BDA_MOD_16VSB = 24,
  BDA_MOD_8PSK = 27,
  BDA_MOD_16APSK = 29,
  BDA_MOD_32APSK = 30,
  BDA_MOD_NBC_QPSK = 31,
  BDA_MOD_NBC_8PSK = 32,
};

enum Polarisation : LONG {
  BDA_POLARISATION_NOT_SET = -1,
  BDA_POLARISATION_NOT_DEFINED = 0,
  BDA_POLARISATION_LINEAR_H = 1,
  BDA_POLARISATION_LINEAR_V = 2,
  BDA_POLARISATION_CIRCULAR_L = 3,
  BDA_POLARISATION_CIRCULAR_R = 4,
};

enum SpectralInversion : LONG {
  BDA_SPECTRAL_INVERSION_NOT_SET = -1,
  BDA_SPECTRAL_INVERSION_NOT_DEFINED = 0,
  BDA_SPECTRAL_INVERSION_AUTOMATIC = 1,
  BDA_SPECTRAL_INVERSION_NORMAL = 2,
  BDA_SPECTRAL_INVERSION_INVERTED = 3,
};

enum BinaryConvolutionCodeRate : LONG {
  BDA_BCC_RATE_NOT_SET = -1,
  BDA_BCC_RATE_NOT_DEFINED = 0,
  BDA_BCC_RATE_1_2 = 1,
  BDA_BCC_RATE_2_3 = 2,
  BDA_BCC_RATE_3_4 = 3,
  BDA_BCC_RATE_3_5 = 4,
  BDA_BCC_RATE_4_5 = 5,
  BDA_BCC_RATE_5_6 = 6,
  BDA_BCC_RATE_5_11 = 7,
  BDA_BCC_RATE_7_8 = 8,
  BDA_BCC_RATE_1_4 = 9,
  BDA_BCC_RATE_1_3 = 10,
  BDA_BCC_RATE_2_5 = 11,
  BDA_BCC_RATE_6_7 = 12,
  BDA_BCC_RATE_8_9 = 13,
  BDA_BCC_RATE_9_10 = 14,
};

// DVB-S2 roll-off factor and pilot symbols.
enum RollOff : LONG {
  BDA_ROLL_OFF_NOT_SET = -1,
  BDA_ROLL_OFF_NOT_DEFINED = 0,
  BDA_ROLL_OFF_20 = 1,
  BDA_ROLL_OFF_25 = 2,
  BDA_ROLL_OFF_35 = 3,
};

enum Pilot : LONG { BDA_PILOT_NOT_SET = -1, BDA_PILOT_NOT_DEFINED = 0, BDA_PILOT_OFF = 1, BDA_PILOT_ON = 2 };

enum DVBSystemType : LONG { DVB_Cable = 0, DVB_Terrestrial = 1, DVB_Satellite = 2 };

enum TunerInputType : LONG { TunerInputCable = 0, TunerInputAntenna = 1 };

// The network provider filters, one per network type, and the generic one
// that takes tune requests of every type.
constexpr CLSID CLSID_ATSCNetworkProvider = MakeGuid("{0DAD2FDD-5FD7-11D3-8F50-00C04F7971E2}");
constexpr CLSID CLSID_DVBTNetworkProvider = MakeGuid("{216C62DF-6D7F-4E9A-8571-05F14EDB766A}");
constexpr CLSID CLSID_DVBSNetworkProvider = MakeGuid("{FA4B375A-45B4-4D45-8440-263957B11623}");
constexpr CLSID CLSID_DVBCNetworkProvider = MakeGuid("{DC0C0FE7-0485-4266-B93F-68FBF80ED834}");
constexpr CLSID CLSID_NetworkProvider = MakeGuid("{B2F3A67C-29DA-4C78-8831-091ED509A475}");

// Tuning objects.
constexpr CLSID CLSID_DVBTuningSpace = MakeGuid("{C6B14B32-76AA-4A86-A7AC-5C79AAF58DA7}");
constexpr CLSID CLSID_DVBSTuningSpace = MakeGuid("{B64016F3-C9A2-4066-96F0-BD9563314726}");
constexpr CLSID CLSID_ATSCTuningSpace = MakeGuid("{A2E30750-6C3D-11D3-B653-00C04F79498E}");
constexpr CLSID CLSID_DVBTLocator = MakeGuid("{9CD64701-BDF3-4D14-8E03-F12983D86664}");
constexpr CLSID CLSID_DVBSLocator = MakeGuid("{1DF7D126-4050-47F0-A7CF-4C4CA9241333}");
constexpr CLSID CLSID_DVBCLocator = MakeGuid("{C531D9FD-9685-4028-8B68-6E1232079F1E}");
constexpr CLSID CLSID_ATSCLocator = MakeGuid("{8872FF1B-98FA-4D7A-8D93-C9F1055F85BB}");
constexpr CLSID CLSID_DVBTuneRequest = MakeGuid("{15D6504A-5494-499C-886C-973C9E53B9F1}");
constexpr CLSID CLSID_ATSCChannelTuneRequest = MakeGuid("{0369B4E6-45B6-11D3-B650-00C04F79498E}");

// The medium between a network provider and its tuner.
constexpr GUID KSDATAFORMAT_TYPE_BDA_ANTENNA = MakeGuid("{71985F41-1CA1-11D3-9CC8-00C04F7971E0}");
