#include "psi/ts/TsSplitter.h"

#include <gtest/gtest.h>

#include <vector>

#include "psi/TsTestSupport.h"

using psitest::Bytes;
using psitest::Concat;
using psitest::MakePacket;

namespace {

class RecordingSplitter : public CTsSplitter {
 public:
  bool Push(const Bytes& bytes) {
    Append(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return ProcessBuffer();
  }
  std::vector<Bytes> packets;

 protected:
  void OnPacket(const uint8_t* packet, uint32_t size) override { packets.emplace_back(packet, packet + size); }
};

Bytes Packet(uint8_t tag) { return MakePacket(0x100, false, Bytes(184, tag), 0); }

}  // namespace

TEST(TsSplitter, TwoPacketsAreHandedOnAndBufferEmpties) {
  RecordingSplitter s;
  EXPECT_TRUE(s.Push(Concat({Packet(1), Packet(2)})));
  EXPECT_EQ(s.packets, (std::vector<Bytes>{Packet(1), Packet(2)}));
  EXPECT_EQ(s.Length(), 0u);
}

TEST(TsSplitter, EmptyBufferOrNoSyncByteReturnsFalse) {
  RecordingSplitter s;
  EXPECT_FALSE(s.ProcessBuffer());
  EXPECT_FALSE(s.Push(Bytes(500, 0x00)));
  EXPECT_EQ(s.Length(), 0u);  // nothing there could start a packet
  EXPECT_TRUE(s.packets.empty());
}

TEST(TsSplitter, LeadingGarbageIsDroppedAndPartialPacketKept) {
  RecordingSplitter s;
  const Bytes packet = Packet(3);
  EXPECT_TRUE(s.Push(Concat({Bytes(5, 0x12), psitest::Slice(packet, 0, 100)})));
  EXPECT_EQ(s.Length(), 100u);
  EXPECT_TRUE(s.packets.empty());
}

TEST(TsSplitter, PacketSplitAcrossDeliveriesIsJoined) {
  RecordingSplitter s;
  const Bytes stream = Concat({Packet(1), Packet(2), Packet(3)});
  EXPECT_TRUE(s.Push(psitest::Slice(stream, 0, 100)));
  EXPECT_TRUE(s.Push(psitest::Slice(stream, 100, 200)));
  EXPECT_TRUE(s.Push(psitest::Slice(stream, 300, 300)));
  EXPECT_EQ(s.packets, (std::vector<Bytes>{Packet(1), Packet(2), Packet(3)}));
}

TEST(TsSplitter, LostSyncResumesAtNextSyncByte) {
  RecordingSplitter s;
  Bytes tail(12, 0x00);
  Bytes packet = Packet(1);
  packet[100] = 0x47;
  // Byte 188 is not a sync byte: the packet is refused and the search resumes at offset 100.
  EXPECT_TRUE(s.Push(Concat({packet, tail})));
  EXPECT_TRUE(s.packets.empty());
  EXPECT_EQ(s.Length(), 100u);
}

TEST(TsSplitter, LostSyncSkipsTheRunOfSyncBytes) {
  RecordingSplitter s;
  // 0x47 0x47 then garbage: both sync candidates are skipped, the next 0x47 starts good packets.
  const Bytes stream = Concat({Bytes{0x47, 0x47}, Bytes(10, 0), Packet(5), Packet(6)});
  EXPECT_TRUE(s.Push(stream));
  EXPECT_EQ(s.packets, (std::vector<Bytes>{Packet(5), Packet(6)}));
}

TEST(TsSplitter, LostSyncWithoutFurtherSyncByteDropsBytesButNotPacketsTwice) {
  RecordingSplitter s;
  // The second packet is not followed by a sync byte and nothing after it is one.
  EXPECT_FALSE(s.Push(Concat({Packet(1), Packet(2), Bytes(200, 0)})));
  EXPECT_EQ(s.Length(), 0u);
  EXPECT_TRUE(s.Push(Packet(3)));
  EXPECT_EQ(s.packets, (std::vector<Bytes>{Packet(1), Packet(3)}));
}
