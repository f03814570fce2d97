#pragma once
// Writes MPEG-2/DVB sections byte by byte. Deliberately independent of the
// plug-in's parsers, so that the demo streams test them rather than echo them.
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

using Bytes = std::vector<uint8_t>;

class ByteWriter {
 public:
  void U8(uint32_t v) { m_bytes.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) {
    U8(v >> 8);
    U8(v);
  }
  void U24(uint32_t v) {
    U8(v >> 16);
    U16(v);
  }
  void U32(uint32_t v) {
    U16(v >> 16);
    U16(v);
  }
  void Append(const Bytes& b) { m_bytes.insert(m_bytes.end(), b.begin(), b.end()); }
  void Append(const std::string& s) { m_bytes.insert(m_bytes.end(), s.begin(), s.end()); }
  // Length-prefixed loop: reserves 2 bytes, `flags` in the top 4 bits.
  size_t BeginLoop() {
    m_bytes.push_back(0);
    m_bytes.push_back(0);
    return m_bytes.size();
  }
  void EndLoop(size_t start, uint8_t flags = 0xF0) {
    const size_t length = m_bytes.size() - start;
    m_bytes[start - 2] = static_cast<uint8_t>(flags | ((length >> 8) & 0x0F));
    m_bytes[start - 1] = static_cast<uint8_t>(length);
  }
  const Bytes& Get() const { return m_bytes; }

 private:
  Bytes m_bytes;
};

uint32_t Crc32(const uint8_t* data, size_t length);

// A long-form section around `body` with version 0, current, and its CRC.
Bytes LongSection(uint8_t tableId, uint16_t extension, uint8_t sectionNumber, uint8_t lastSectionNumber,
                  const Bytes& body, bool privateIndicator = false);
// A short-form section (the TDT).
Bytes ShortSection(uint8_t tableId, const Bytes& body);

// A descriptor: tag, length, body.
Bytes Descriptor(uint8_t tag, const Bytes& body);
// DVB text: an optional character-table selector followed by the text bytes.
Bytes DvbText(const std::string& bytes);

// MJD + BCD UTC of seconds since the epoch, and BCD of a duration.
Bytes MjdUtc(int64_t seconds);
Bytes BcdDuration(int seconds);

}  // namespace demo
