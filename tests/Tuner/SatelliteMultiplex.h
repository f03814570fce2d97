#pragma once
// A generated satellite multiplex: PAT, PMTs, SDT and a NIT whose satellite
// delivery descriptors announce the transponders of one orbital position.
#include <cstdint>
#include <string>
#include <vector>

struct SatelliteService {
  uint16_t serviceId;
  uint8_t serviceType;
  std::string name;
};

struct SatelliteTransponder {
  uint16_t transportStreamId;
  uint32_t frequencyKHz;
  bool vertical;
  uint32_t symbolRate;  // ksymbol/s
};

// Two seconds of the multiplex `transportStreamId` (it must be one of
// `transponders`) at an orbital position of `orbitalTenths` tenths of a degree east.
std::vector<uint8_t> SatelliteMultiplex(uint16_t transportStreamId, const std::vector<SatelliteService>& services,
                                        const std::vector<SatelliteTransponder>& transponders, uint16_t orbitalTenths);
