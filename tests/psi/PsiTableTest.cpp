#include "psi/ts/PsiTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "psi/SectionBuilder.h"

using psitest::BuildSection;
using psitest::SectionSpec;

namespace {

// Records the first body byte of each parsed section; rejects bodies starting with 0xEE.
class RecordingTable : public CPsiTable {
 public:
  void Reset() override {
    CPsiTable::Reset();
    parsed.clear();
  }
  std::vector<uint8_t> parsed;

 protected:
  bool ParseSection(const uint8_t* data, uint32_t length, uint32_t, uint32_t) override {
    if (data[8] == 0xEE) return false;
    parsed.push_back(data[8]);
    return true;
  }
};

std::vector<uint8_t> Section(uint8_t number, uint8_t last, uint8_t content, uint8_t version = 0) {
  SectionSpec spec;
  spec.tableId = 0x42;
  spec.sectionNumber = number;
  spec.lastSectionNumber = last;
  spec.version = version;
  spec.body = {content};
  return BuildSection(spec);
}

bool Add(CPsiTable& table, const std::vector<uint8_t>& s, uint32_t tableId = 0x42) {
  return table.AddSection(s.data(), static_cast<uint32_t>(s.size()), 0x11, tableId);
}

}  // namespace

TEST(PsiTable, NewAndResetTablesAreIncomplete) {
  RecordingTable table;
  EXPECT_FALSE(table.IsComplete());
  EXPECT_TRUE(Add(table, Section(0, 0, 1)));
  EXPECT_TRUE(table.IsComplete());
  table.Reset();
  EXPECT_FALSE(table.IsComplete());
  EXPECT_EQ(table.LastSectionNumber(), -1);
}

TEST(PsiTable, OutOfOrderSectionsCompleteAndRepeatsAreNotParsed) {
  RecordingTable table;
  EXPECT_TRUE(Add(table, Section(1, 1, 0xB1)));
  EXPECT_FALSE(table.IsComplete());
  EXPECT_TRUE(Add(table, Section(0, 1, 0xB0)));
  EXPECT_TRUE(table.IsComplete());
  EXPECT_TRUE(Add(table, Section(1, 1, 0xB1)));
  EXPECT_EQ(table.parsed, (std::vector<uint8_t>{0xB1, 0xB0}));
}

TEST(PsiTable, NewContentUnderTakenNumberIsIgnoredUntilReset) {
  RecordingTable table;
  Add(table, Section(0, 0, 0xA0, 1));
  EXPECT_TRUE(Add(table, Section(0, 0, 0xA1, 2)));
  EXPECT_EQ(table.parsed, (std::vector<uint8_t>{0xA0}));
  table.Reset();
  Add(table, Section(0, 0, 0xA1, 2));
  EXPECT_EQ(table.parsed, (std::vector<uint8_t>{0xA1}));
}

TEST(PsiTable, InvalidSectionIsNotCounted) {
  RecordingTable table;
  auto bad = Section(0, 0, 1);
  bad.back() ^= 1;
  EXPECT_FALSE(Add(table, bad));
  EXPECT_EQ(table.LastSectionNumber(), -1);
  EXPECT_FALSE(table.IsComplete());
}

TEST(PsiTable, RejectedSectionKeepsTableIncompleteUntilAGoodCopy) {
  RecordingTable table;
  EXPECT_TRUE(Add(table, Section(0, 0, 0xEE)));
  EXPECT_FALSE(table.IsComplete());
  EXPECT_TRUE(Add(table, Section(0, 0, 0x10)));
  EXPECT_TRUE(table.IsComplete());
}

TEST(PsiTable, SmallerLastSectionNumberLaterKeepsTableIncomplete) {
  RecordingTable table;
  Add(table, Section(2, 2, 2));
  Add(table, Section(0, 1, 0));
  Add(table, Section(1, 1, 1));
  EXPECT_FALSE(table.IsComplete());
}

TEST(PsiTable, ARepeatIsKnownOnlyUnderTheSameTableIdLowByte) {
  // A repeat returns before last_section_number is updated, which makes
  // the comparison visible.
  const auto first = Section(0, 0, 0x30);
  RecordingTable table;
  Add(table, first, 0x42);
  Add(table, Section(1, 1, 0x31));
  Add(table, first, 0x142);  // same low byte: a repeat
  EXPECT_EQ(table.LastSectionNumber(), 1);
  Add(table, first, 0x46);  // other low byte: a new key
  EXPECT_EQ(table.LastSectionNumber(), 0);
  EXPECT_EQ(table.parsed.size(), 2u);
}
