#pragma once
// What a DVB service_type means to the tuners: which services are reported,
// as television or radio, and the channel flags the host tells kinds by.
#include "platform/com/Types.h"

// Digital television: MPEG-2 SD (1), H.264 SD and HD (17, 25), HEVC (0x1F, 0x20).
inline bool IsDvbTvService(LONG type) { return type == 1 || type == 17 || type == 25 || type == 0x1F || type == 0x20; }
inline bool IsDvbRadioService(LONG type) { return type == 2; }

// 1 HD television, 2 NVOD and frame-compatible, 3 3D, 4 mosaic; 0 for the rest.
inline LONG ChannelFlagsOfServiceType(LONG type) {
  switch (type) {
    case 17: case 25: return 1;
    case 4: case 5: case 23: case 24: return 2;
    case 26: case 27: return 3;
    case 6: case 11: return 4;
    default: return 0;
  }
}
