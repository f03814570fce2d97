#include "PesPacket.h"

namespace demo {

Bytes PesPacket(uint8_t streamId, uint64_t pts, const Bytes& unit) {
  constexpr size_t kHeaderAfterLength = 8;  // flags, header length, PTS
  ByteWriter w;
  w.U24(0x000001);
  w.U8(streamId);
  const size_t length = kHeaderAfterLength + unit.size();
  // Video may exceed the 16-bit length; 0 then means "unbounded".
  w.U16(length <= 0xFFFF ? static_cast<uint32_t>(length) : 0);
  w.U8(0x84);  // data aligned: the payload starts with the access unit
  w.U8(0x80);  // PTS only
  w.U8(5);
  pts &= (uint64_t(1) << 33) - 1;
  w.U8(static_cast<uint32_t>(0x21 | (pts >> 29 & 0x0E)));
  w.U16(static_cast<uint32_t>((pts >> 14 & 0xFFFE) | 1));
  w.U16(static_cast<uint32_t>((pts << 1 & 0xFFFE) | 1));
  w.Append(unit);
  return w.Get();
}

}  // namespace demo
