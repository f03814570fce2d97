#pragma once
// The regional networks of the DVB-T and DVB-C frequency lists that fit a
// country, by the analog video standard the country used.
#include "platform/com/Types.h"

struct CountryNetworks {
  bool palX = false;  // PAL B/G/H/I/N and SECAM B/G/K/L
  bool ntsc = false;
  bool palD = false;  // PAL D/K, SECAM D
};

// `code` is the international telephone prefix; a code that is not a known
// country selects every network.
CountryNetworks NetworksOfCountry(LONG code);
