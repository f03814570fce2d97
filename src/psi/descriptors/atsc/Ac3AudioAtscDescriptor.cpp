#include "psi/descriptors/atsc/Ac3AudioAtscDescriptor.h"

void CAc3AudioAtscDescriptor::Parse(CPsiStream& reader) {
  sample_rate_code = reader.ReadUInt8() >> 5;
  bit_rate_code = reader.ReadUInt8() >> 2;
  num_channels = (reader.ReadUInt8() >> 1) & 0x0F;
  uint32_t read = 3;
  if (length < 4) return;
  language_code = reader.ReadUInt8();
  ++read;
  if (num_channels == 0) {
    language_code_2 = reader.ReadUInt8();
    ++read;
  }
  reader.Skip(1);  // mainid/priority or asvcflags
  ++read;
  if (read >= length) return;
  const uint8_t textHeader = reader.ReadUInt8();
  text_code = textHeader & 1;
  text.Read(reader, textHeader >> 1);
  read += 1 + text.length;
  if (read < length) reader.Skip(length - read);
}
