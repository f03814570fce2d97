#include "psi/atsc/Mgt.h"

#include <gtest/gtest.h>

#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"

using psitest::Bytes;
using psitest::Concat;

namespace {

Bytes TableType(uint16_t type, uint16_t pid, const Bytes& descriptors) {
  return Concat({{uint8_t(type >> 8), uint8_t(type), uint8_t(0xE0 | (pid >> 8)), uint8_t(pid), 0xE0, 0, 0, 0x01, 0x00,
                  uint8_t(0xF0 | (descriptors.size() >> 8)), uint8_t(descriptors.size())},
                 descriptors});
}

Bytes MgtSection(uint16_t count, const Bytes& tables) {
  psitest::SectionSpec spec;
  spec.tableId = 0xC7;
  spec.extension = 0;
  spec.body = Concat({{0x00, uint8_t(count >> 8), uint8_t(count)}, tables, {0xF0, 0x00}});
  return psitest::BuildSection(spec);
}

}  // namespace

TEST(CMgt, TableTypesInSectionOrderWithMaskedPids) {
  const Bytes bytes = MgtSection(3, Concat({TableType(0x0000, 0x1FFB, {}), TableType(0x0100, 0x1D00, {0x80, 0x01, 0xAA}),
                                            TableType(0x0200, 0x1E00, {})}));
  CMgt mgt;
  ASSERT_TRUE(mgt.AddSection(bytes.data(), bytes.size(), 0x1FFB, 0xC7));
  EXPECT_TRUE(mgt.IsComplete());
  ASSERT_EQ(mgt.tables.size(), 3u);
  EXPECT_EQ(mgt.tables[0].table_type, 0x0000);
  EXPECT_EQ(mgt.tables[0].pid, 0x1FFB);
  EXPECT_EQ(mgt.tables[1].table_type, 0x0100);
  EXPECT_EQ(mgt.tables[1].pid, 0x1D00);
  EXPECT_EQ(mgt.tables[2].table_type, 0x0200);
  EXPECT_EQ(mgt.tables[2].pid, 0x1E00);

  mgt.Reset();
  EXPECT_TRUE(mgt.tables.empty());
}

TEST(CMgtSection, MoreTablesAnnouncedThanPresentFails) {
  const Bytes bytes = MgtSection(4, TableType(0x0100, 0x1D00, {}));
  CMgtSection section;
  EXPECT_FALSE(section.Parse(bytes.data(), bytes.size()));
}
