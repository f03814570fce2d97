#include "Tuner/SatelliteMultiplex.h"

#include "Multiplexer.h"
#include "SectionWriter.h"

namespace {
using demo::ByteWriter;
using demo::Bytes;
using demo::Descriptor;
using demo::LongSection;

constexpr uint16_t kNetworkId = 0x0085;
constexpr uint16_t kOriginalNetworkId = 0x0001;

uint16_t PmtPid(size_t index) { return static_cast<uint16_t>(0x0100 + 0x10 * index); }

// `digits` decimal digits of `value`, one per nibble.
uint32_t Bcd(uint32_t value, int digits) {
  uint32_t bcd = 0;
  for (int i = 0; i < digits; ++i, value /= 10) bcd |= (value % 10) << (4 * i);
  return bcd;
}

Bytes SatelliteDelivery(const SatelliteTransponder& t, uint16_t orbitalTenths) {
  ByteWriter w;
  w.U32(Bcd(t.frequencyKHz / 10, 8));  // units of 10 kHz
  w.U16(Bcd(orbitalTenths, 4));
  w.U8(0x80 | (t.vertical ? 0x20 : 0x00) | 0x01);  // east, DVB-S QPSK
  w.U32(Bcd(t.symbolRate * 10, 7) << 4 | 0x3);     // units of 100 symbol/s, FEC 3/4
  return Descriptor(0x43, w.Get());
}

Bytes Pat(uint16_t tsid, const std::vector<SatelliteService>& services) {
  ByteWriter w;
  w.U16(0x0000);
  w.U16(0xE010);
  for (size_t i = 0; i < services.size(); ++i) {
    w.U16(services[i].serviceId);
    w.U16(0xE000 | PmtPid(i));
  }
  return LongSection(0x00, tsid, 0, 0, w.Get());
}

Bytes Pmt(const SatelliteService& s, uint16_t pmtPid) {
  ByteWriter w;
  w.U16(0xE000 | (pmtPid + 1));
  w.EndLoop(w.BeginLoop());
  w.U8(0x02);  // MPEG-2 video
  w.U16(0xE000 | (pmtPid + 1));
  w.EndLoop(w.BeginLoop());
  return LongSection(0x02, s.serviceId, 0, 0, w.Get());
}

Bytes Sdt(uint16_t tsid, const std::vector<SatelliteService>& services) {
  ByteWriter w;
  w.U16(kOriginalNetworkId);
  w.U8(0xFF);
  for (const SatelliteService& s : services) {
    w.U16(s.serviceId);
    w.U8(0xFC);
    const size_t loop = w.BeginLoop();
    Bytes body = {s.serviceType, 0};
    body.push_back(static_cast<uint8_t>(s.name.size()));
    body.insert(body.end(), s.name.begin(), s.name.end());
    w.Append(Descriptor(0x48, body));
    w.EndLoop(loop, 0x80);  // running, free to air
  }
  return LongSection(0x42, tsid, 0, 0, w.Get(), true);
}

Bytes Nit(const std::vector<SatelliteTransponder>& transponders, uint16_t orbitalTenths) {
  ByteWriter w;
  w.EndLoop(w.BeginLoop());
  const size_t streams = w.BeginLoop();
  for (const SatelliteTransponder& t : transponders) {
    w.U16(t.transportStreamId);
    w.U16(kOriginalNetworkId);
    const size_t loop = w.BeginLoop();
    w.Append(SatelliteDelivery(t, orbitalTenths));
    w.EndLoop(loop);
  }
  w.EndLoop(streams);
  return LongSection(0x40, kNetworkId, 0, 0, w.Get(), true);
}
}  // namespace

std::vector<uint8_t> SatelliteMultiplex(uint16_t transportStreamId, const std::vector<SatelliteService>& services,
                                        const std::vector<SatelliteTransponder>& transponders, uint16_t orbitalTenths) {
  demo::Multiplexer mx(2000000, 2.0);
  mx.AddTable(0x0000, {Pat(transportStreamId, services)}, 100, 0);
  for (size_t i = 0; i < services.size(); ++i) {
    mx.AddTable(PmtPid(i), {Pmt(services[i], PmtPid(i))}, 100, 10);
    mx.AddPcr(PmtPid(i) + 1, 40);
  }
  mx.AddTable(0x0010, {Nit(transponders, orbitalTenths)}, 500, 20);
  mx.AddTable(0x0011, {Sdt(transportStreamId, services)}, 500, 30);
  return mx.Build();
}
