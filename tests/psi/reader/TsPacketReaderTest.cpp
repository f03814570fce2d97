// The packet reader on a real capture recorded or damaged in the ways
// recordings come: other packet sizes, a cut end, junk before, between and
// after the packets, hostile sync patterns, and input that is no stream.
#include "psi/ts/TsPacketReader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "psi/TsTestSupport.h"
#include "support/TestData.h"

namespace {

using psitest::Bytes;

// Arbitrary bytes without a sync byte, the same on every run.
Bytes Junk(size_t count) {
  Bytes junk(count);
  uint32_t state = 12345;
  for (uint8_t& byte : junk) {
    state = state * 1103515245 + 12345;
    byte = static_cast<uint8_t>(state >> 16);
    if (byte == 0x47) byte = 0x46;
  }
  return junk;
}

Bytes Insert(Bytes bytes, size_t at, const Bytes& inserted) {
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), inserted.begin(), inserted.end());
  return bytes;
}

// Every packet with `before` bytes in front of it and `after` bytes behind.
Bytes Framed(const Bytes& stream, size_t before, size_t after) {
  Bytes out;
  for (size_t i = 0; i + 188 <= stream.size(); i += 188) {
    out.insert(out.end(), before, 0x5A);
    out.insert(out.end(), stream.begin() + i, stream.begin() + i + 188);
    out.insert(out.end(), after, 0xA5);
  }
  return out;
}

// A source that counts what was read from it.
class CountingSource : public CMemoryByteSource {
 public:
  using CMemoryByteSource::CMemoryByteSource;
  size_t Read(std::span<uint8_t> buffer) override {
    const size_t got = CMemoryByteSource::Read(buffer);
    read += got;
    return got;
  }
  uint64_t read = 0;
};

Bytes ReadAll(CTsPacketReader& reader) {
  Bytes packets;
  for (auto chunk = reader.Next(); !chunk.empty(); chunk = reader.Next()) {
    EXPECT_EQ(chunk.size() % 188, 0u);
    packets.insert(packets.end(), chunk.begin(), chunk.end());
  }
  return packets;
}

std::string Skipped(size_t count, size_t offset, const char* reason) {
  return "skipped " + std::to_string(count) + " bytes at offset " + std::to_string(offset) + ": " + reason;
}

TEST(TsPacketReaderTest, DamagedRecordingsGiveEveryIntactPacket) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const Bytes clean = psitest::ReadFile(path);
  ASSERT_EQ(clean.size() % 188, 0u);
  const size_t middle = clean.size() / 188 / 2 * 188;
  Bytes pattern;
  // 47 00 00 repeating: a sync byte every three bytes, never two a packet apart.
  for (size_t i = 0; i < (4 << 20); ++i) pattern.push_back(i % 3 == 1 ? 0x47 : 0x00);

  struct Case {
    const char* name;
    Bytes input;
    Bytes packets;  // expected
    uint32_t packetSize;
    std::vector<std::string> warnings;
  };
  const Bytes allButLast(clean.begin(), clean.end() - 188);
  const Bytes m2ts = Framed(clean, 4, 0);
  const Case cases[] = {
      {"clean", clean, clean, 188, {}},
      {"M2TS timecodes", m2ts, clean, 192, {}},
      {"204-byte packets", Framed(clean, 0, 16), clean, 204, {}},
      {"cut inside the last packet", Bytes(clean.begin(), clean.end() - 100), allButLast, 188,
       {Skipped(88, clean.size() - 188, "the stream ends inside a packet")}},
      {"M2TS cut inside the last packet", Bytes(m2ts.begin(), m2ts.end() - 50),
       allButLast, 192, {Skipped(142, m2ts.size() - 192, "the stream ends inside a packet")}},
      {"junk before", Insert(clean, 0, Junk(1000)), clean, 188, {Skipped(1000, 0, "no packet sync")}},
      {"junk between", Insert(clean, middle, Junk(777)), clean, 188, {Skipped(777, middle, "no packet sync")}},
      {"junk after", Insert(clean, clean.size(), Junk(5000)), clean, 188,
       {Skipped(5000, clean.size(), "no packet sync")}},
      {"sync pattern between", Insert(clean, middle, pattern), clean, 188,
       {Skipped(pattern.size(), middle, "no packet sync")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CMemoryByteSource source(c.input);
    CTsPacketReader reader(source);
    const Bytes packets = ReadAll(reader);
    EXPECT_TRUE(reader.Error().empty()) << reader.Error();
    EXPECT_EQ(reader.PacketSize(), c.packetSize);
    EXPECT_EQ(packets.size(), c.packets.size());
    EXPECT_TRUE(packets == c.packets);
    EXPECT_EQ(reader.Warnings(), c.warnings);
  }
}

TEST(TsPacketReaderTest, InputWithoutPacketsIsNoTransportStream) {
  Bytes random = Junk(100000);
  for (size_t i = 0; i < random.size(); i += 997) random[i] = 0x47;  // stray sync bytes
  struct Case {
    const char* name;
    Bytes input;
    const char* error;
    uint64_t mostRead;  // the reader gives up early on long input
  };
  const Case cases[] = {
      {"empty", {}, "not a transport stream: the input is empty", 0},
      {"random", random, "not a transport stream: no 188-, 192- or 204-byte packets found", random.size()},
      {"one packet", psitest::MakePacket(0, true, {}), "not a transport stream", 188},
      {"zeros", Bytes(64 << 20, 0), "not a transport stream: no packet sync in the first 4 MiB", 6 << 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CountingSource source(c.input);
    CTsPacketReader reader(source);
    EXPECT_TRUE(ReadAll(reader).empty());
    EXPECT_EQ(reader.Error().rfind(c.error, 0), 0u) << reader.Error();
    EXPECT_EQ(reader.PacketSize(), 0u);
    EXPECT_LE(source.read, c.mostRead);
  }
}

TEST(TsPacketReaderTest, ManyGapsAreSummedUp) {
  REQUIRE_SHARED_FILE(path, "test-108.ts");
  const Bytes clean = psitest::ReadFile(path);
  // Bad reception: three bytes lost in every tenth packet, a thousand times.
  Bytes damaged;
  std::vector<std::string> listed;
  for (size_t i = 0; i < 10000; ++i) {
    const size_t size = i % 10 == 9 ? 185 : 188;
    if (size == 185 && listed.size() < 20) listed.push_back(Skipped(185, damaged.size(), "no packet sync"));
    damaged.insert(damaged.end(), clean.begin() + i * 188, clean.begin() + i * 188 + size);
  }
  CMemoryByteSource source(damaged);
  CTsPacketReader reader(source);
  EXPECT_EQ(ReadAll(reader).size(), 9000u * 188);
  std::vector<std::string> warnings = reader.Warnings();
  ASSERT_EQ(warnings.size(), listed.size() + 1);
  EXPECT_EQ(warnings.back(), "skipped " + std::to_string(980 * 185) + " bytes more in 980 more places");
  warnings.pop_back();
  EXPECT_EQ(warnings, listed);
}

}  // namespace
