// Every section and table class, and the descriptor factory in every
// context, on arbitrary bytes. The input is tried as it is and, so that the
// parsers behind the header and CRC checks are reached, with its
// section_length, current_next_indicator and CRC_32 made consistent.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "psi/atsc/EitAtsc.h"
#include "psi/atsc/Ett.h"
#include "psi/atsc/Mgt.h"
#include "psi/atsc/Vct.h"
#include "psi/descriptors/Descriptors.h"
#include "psi/dvb/EitDvb.h"
#include "psi/dvb/Nit.h"
#include "psi/dvb/Sdt.h"
#include "psi/mpeg/Cat.h"
#include "psi/mpeg/Pat.h"
#include "psi/mpeg/PmtAtsc.h"
#include "psi/mpeg/PmtDvb.h"
#include "psi/ts/Crc32.h"

namespace {

template <typename TTable>
void Feed(const std::vector<uint8_t>& section) {
  TTable table;
  const uint8_t tableId = section.empty() ? 0 : section[0];
  // Twice: the second copy takes the duplicate path.
  for (int i = 0; i < 2; ++i) table.AddSection(section.data(), uint32_t(section.size()), 0x100, tableId);
  table.IsComplete();
}

void FeedAll(const std::vector<uint8_t>& section) {
  Feed<CPat>(section);
  Feed<CCat>(section);
  Feed<CPmtDvb>(section);
  Feed<CPmtAtsc>(section);
  Feed<CSdt>(section);
  Feed<CNit>(section);
  Feed<CEitDvb>(section);
  Feed<CMgt>(section);
  Feed<CVct>(section);
  Feed<CEitAtsc>(section);
  Feed<CEtt>(section);
  CPmtSection mpeg(DescriptorContext_Mpeg);
  mpeg.Parse(section.data(), uint32_t(section.size()));
}

// A long-form section over all bytes, flagged current, with a matching CRC_32.
std::vector<uint8_t> Consistent(const uint8_t* data, size_t size) {
  std::vector<uint8_t> section(data, data + size);
  if (section.size() < 12 || section.size() > 4096) return section;
  const size_t sectionLength = section.size() - 3;
  section[1] = uint8_t((section[1] & 0xF0) | 0x80 | (sectionLength >> 8));
  section[2] = uint8_t(sectionLength);
  section[5] |= 0x01;
  const uint32_t crc = Crc32Mpeg2(section.data(), section.size() - 4);
  for (int i = 0; i < 4; ++i) section[section.size() - 4 + i] = uint8_t(crc >> (24 - 8 * i));
  return section;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FeedAll(std::vector<uint8_t>(data, data + size));
  FeedAll(Consistent(data, size));
  for (DescriptorContext context : {DescriptorContext_Dvb, DescriptorContext_Atsc, DescriptorContext_Mpeg}) {
    CPsiStream reader(data, size);
    CDescriptors descriptors;
    try {
      descriptors.ParseLoop(reader, uint32_t(size), context);
    } catch (const CPsiStreamException&) {
    }
    // Bodies are decoded when read: read each one.
    for (const CDescriptorEntry& descriptor : descriptors) descriptor.Decoded();
  }
  return 0;
}
