#include "SectionWriter.h"

namespace demo {

uint32_t Crc32(const uint8_t* data, size_t length) {
  uint32_t crc = 0xFFFFFFFF;
  for (size_t i = 0; i < length; ++i) {
    crc ^= static_cast<uint32_t>(data[i]) << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000) ? (crc << 1) ^ 0x04C11DB7 : crc << 1;
  }
  return crc;
}

Bytes LongSection(uint8_t tableId, uint16_t extension, uint8_t sectionNumber, uint8_t lastSectionNumber,
                  const Bytes& body, bool privateIndicator) {
  const size_t sectionLength = 5 + body.size() + 4;
  ByteWriter w;
  w.U8(tableId);
  w.U16((privateIndicator ? 0xF000 : 0xB000) | sectionLength);
  w.U16(extension);
  w.U8(0xC1);  // version 0, current
  w.U8(sectionNumber);
  w.U8(lastSectionNumber);
  w.Append(body);
  w.U32(Crc32(w.Get().data(), w.Get().size()));
  return w.Get();
}

Bytes ShortSection(uint8_t tableId, const Bytes& body) {
  ByteWriter w;
  w.U8(tableId);
  w.U16(0x7000 | body.size());
  w.Append(body);
  return w.Get();
}

Bytes Descriptor(uint8_t tag, const Bytes& body) {
  Bytes d = {tag, static_cast<uint8_t>(body.size())};
  d.insert(d.end(), body.begin(), body.end());
  return d;
}

Bytes DvbText(const std::string& bytes) { return Bytes(bytes.begin(), bytes.end()); }

namespace {
uint8_t Bcd(int v) { return static_cast<uint8_t>((v / 10) << 4 | (v % 10)); }
}  // namespace

Bytes MjdUtc(int64_t seconds) {
  const int64_t days = seconds / 86400;
  const int secs = static_cast<int>(seconds % 86400);
  const uint32_t mjd = static_cast<uint32_t>(days + 40587);
  return {static_cast<uint8_t>(mjd >> 8), static_cast<uint8_t>(mjd), Bcd(secs / 3600), Bcd(secs / 60 % 60),
          Bcd(secs % 60)};
}

Bytes BcdDuration(int seconds) { return {Bcd(seconds / 3600), Bcd(seconds / 60 % 60), Bcd(seconds % 60)}; }

}  // namespace demo
