#pragma once
// ATSC PSIP sections for tests: MGT, STT, EIT and ETT with correct CRCs.
#include <cstdint>
#include <string>
#include <vector>

#include "psi/SectionBuilder.h"

namespace atsctest {

using Bytes = std::vector<uint8_t>;

inline constexpr uint32_t kStartGps = 0x40000000;  // every EIT event's start, GPS seconds

// A multiple string structure with one uncompressed English string.
inline Bytes Mss(const std::string& text) {
  Bytes mss = {0x01, 'e', 'n', 'g', 0x01, 0x00, 0x00, static_cast<uint8_t>(text.size())};
  mss.insert(mss.end(), text.begin(), text.end());
  return mss;
}

// Section `number` of `last` + 1 of the EIT of sourceId, with one one-hour event.
inline Bytes AtscEit(uint16_t sourceId, uint16_t eventId, const std::string& title, uint8_t number = 0,
                     uint8_t last = 0, uint8_t version = 0) {
  const Bytes mss = Mss(title);
  Bytes body = {0x00, 0x01, static_cast<uint8_t>(0xC0 | eventId >> 8), static_cast<uint8_t>(eventId),
                static_cast<uint8_t>(kStartGps >> 24), static_cast<uint8_t>(kStartGps >> 16),
                static_cast<uint8_t>(kStartGps >> 8), static_cast<uint8_t>(kStartGps),
                0xC0, 0x0E, 0x10, static_cast<uint8_t>(mss.size())};
  body.insert(body.end(), mss.begin(), mss.end());
  body.insert(body.end(), {0xF0, 0x00});
  return psitest::BuildSection({0xCB, sourceId, version, true, number, last, body});
}

// The extended text of one event.
inline Bytes AtscEtt(uint16_t sourceId, uint16_t eventId, const std::string& text) {
  const uint32_t etmId = uint32_t{sourceId} << 16 | uint32_t{eventId} << 2 | 0x2;
  Bytes body = {0x00, static_cast<uint8_t>(etmId >> 24), static_cast<uint8_t>(etmId >> 16),
                static_cast<uint8_t>(etmId >> 8), static_cast<uint8_t>(etmId)};
  const Bytes mss = Mss(text);
  body.insert(body.end(), mss.begin(), mss.end());
  return psitest::BuildSection({0xCC, 0x0001, 0, true, 0, 0, body});
}

// An MGT naming one EIT-0 PID and one ETT PID.
inline Bytes Mgt(uint16_t eitPid, uint16_t ettPid) {
  Bytes body = {0x00, 0x00, 0x02};  // protocol_version, tables_defined
  for (const auto& [type, pid] : {std::pair<uint16_t, uint16_t>{0x0100, eitPid}, {0x0200, ettPid}})
    body.insert(body.end(), {static_cast<uint8_t>(type >> 8), static_cast<uint8_t>(type),
                             static_cast<uint8_t>(0xE0 | pid >> 8), static_cast<uint8_t>(pid), 0xE0, 0x00, 0x00,
                             0x00, 0x00, 0xF0, 0x00});
  body.insert(body.end(), {0xF0, 0x00});
  return psitest::BuildSection({0xC7, 0x0000, 0, true, 0, 0, body});
}

// A system time table announcing gpsUtcOffset leap seconds.
inline Bytes Stt(uint8_t gpsUtcOffset) {
  const Bytes body = {0x00, 0x50, 0x00, 0x00, 0x00, gpsUtcOffset, 0x00, 0x00};
  return psitest::BuildSection({0xCD, 0x0000, 0, true, 0, 0, body});
}

}  // namespace atsctest
