#pragma once
// Builds small valid sections and single-packet transport streams for tests.
#include <cstdint>
#include <vector>

#include "psi/ts/Crc32.h"

namespace splittertest {

inline void PutUInt16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

inline void PutUInt32(std::vector<uint8_t>& out, uint32_t value) {
  PutUInt16(out, static_cast<uint16_t>(value >> 16));
  PutUInt16(out, static_cast<uint16_t>(value));
}

// A long-header section: version and content byte let copies be told apart.
inline std::vector<uint8_t> Section(uint8_t tableId, uint16_t extension, uint8_t number, uint8_t last,
                                    const std::vector<uint8_t>& body, uint8_t version = 0) {
  const auto sectionLength = static_cast<uint16_t>(5 + body.size() + 4);
  std::vector<uint8_t> s{tableId, static_cast<uint8_t>(0xB0 | (sectionLength >> 8)),
                         static_cast<uint8_t>(sectionLength)};
  PutUInt16(s, extension);
  s.push_back(static_cast<uint8_t>(0xC1 | (version << 1)));
  s.push_back(number);
  s.push_back(last);
  s.insert(s.end(), body.begin(), body.end());
  PutUInt32(s, Crc32Mpeg2(s.data(), s.size()));
  return s;
}

inline std::vector<uint8_t> Pat(uint16_t tsId, uint16_t program, uint16_t pmtPid) {
  std::vector<uint8_t> body;
  PutUInt16(body, program);
  PutUInt16(body, static_cast<uint16_t>(0xE000 | pmtPid));
  return Section(0x00, tsId, 0, 0, body);
}

// An ATSC ETT: every one has section number 0, the ETM_id tells them apart.
inline std::vector<uint8_t> Ett(uint32_t etmId) {
  std::vector<uint8_t> body{0x00};  // protocol_version
  PutUInt32(body, etmId);
  body.push_back(0x00);  // an empty multiple string structure
  return Section(0xCC, 0x0001, 0, 0, body);
}

// A NIT of network networkId with one transport stream entry.
inline std::vector<uint8_t> Nit(uint16_t networkId, uint16_t tsId, uint16_t onId,
                                const std::vector<uint8_t>& descriptors) {
  std::vector<uint8_t> body;
  PutUInt16(body, 0xF000);  // no network descriptors
  PutUInt16(body, static_cast<uint16_t>(0xF000 | (6 + descriptors.size())));
  PutUInt16(body, tsId);
  PutUInt16(body, onId);
  PutUInt16(body, static_cast<uint16_t>(0xF000 | descriptors.size()));
  body.insert(body.end(), descriptors.begin(), descriptors.end());
  return Section(0x40, networkId, 0, 0, body);
}

// One packet carrying one whole section (at most 183 bytes).
inline std::vector<uint8_t> Packet(uint16_t pid, uint8_t counter, const std::vector<uint8_t>& section) {
  std::vector<uint8_t> p{0x47, static_cast<uint8_t>(0x40 | (pid >> 8)), static_cast<uint8_t>(pid),
                         static_cast<uint8_t>(0x10 | (counter & 0x0F)), 0x00};
  p.insert(p.end(), section.begin(), section.end());
  p.resize(188, 0xFF);
  return p;
}

}  // namespace splittertest
