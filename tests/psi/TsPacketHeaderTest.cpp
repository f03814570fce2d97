#include "psi/ts/TsPacketHeader.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct HeaderCase {
  const char* name;
  uint8_t byte3;        // adaptation_field_control and continuity_counter
  uint8_t adaptation;   // adaptation_field_length
  uint32_t payloadLength;
};

}  // namespace

TEST(TsPacketHeader, PayloadFollowsAdaptationField) {
  const HeaderCase cases[] = {
      {"payload only", 0x17, 0, 184},
      {"adaptation only", 0x27, 10, 0},
      {"adaptation and payload", 0x37, 10, 173},
      {"adaptation of 182 leaves one byte", 0x37, 182, 1},
      {"adaptation of 183 fills the packet", 0x37, 183, 0},
      {"reserved control 0", 0x07, 0, 0},
  };
  for (const HeaderCase& c : cases) {
    std::vector<uint8_t> packet(188, 0);
    packet[0] = 0x47;
    packet[1] = 0xC1;  // error, unit start, PID high bits
    packet[2] = 0x23;
    packet[3] = c.byte3;
    packet[4] = c.adaptation;
    TsPacketHeader h;
    h.Decode(packet.data(), 188);
    EXPECT_EQ(h.packet, packet.data()) << c.name;
    EXPECT_EQ(h.pid, 0x0123) << c.name;
    EXPECT_TRUE(h.transport_error_indicator) << c.name;
    EXPECT_TRUE(h.payload_unit_start_indicator) << c.name;
    EXPECT_EQ(h.continuity_counter, 7) << c.name;
    EXPECT_EQ(h.payload_length, c.payloadLength) << c.name;
    if (c.payloadLength)
      EXPECT_EQ(h.payload, packet.data() + 188 - c.payloadLength) << c.name;
    else
      EXPECT_EQ(h.payload, nullptr) << c.name;
  }
}

TEST(TsPacketHeader, NoPacketWithoutSyncByteOrFullSize) {
  std::vector<uint8_t> packet(188, 0x11);
  packet[0] = 0x47;
  TsPacketHeader h;
  h.Decode(packet.data(), 187);
  EXPECT_EQ(h.packet, nullptr);
  h.Decode(nullptr, 188);
  EXPECT_EQ(h.payload, nullptr);
  packet[0] = 0x48;
  h.Decode(packet.data(), 188);
  EXPECT_EQ(h.pid, 0);
  EXPECT_EQ(h.payload_length, 0u);
}
