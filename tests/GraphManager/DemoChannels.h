#pragma once
// The first TV service of a recording, as the offline analysis finds it.
#include <cstdint>
#include <string>

struct DemoService {
  std::string name;
  int32_t networkId = -1, serviceId = -1, transportStreamId = -1;
  int32_t videoPid = 0, videoType = 0, audioPid = 0, audioType = 0, pmtPid = 0;
  bool ac3 = false;
};

// False when the recording has no service with video and audio.
bool FirstTvService(const std::string& file, DemoService* service);
