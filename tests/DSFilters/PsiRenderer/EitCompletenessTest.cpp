// When the DVB EIT collector holds the whole guide a multiplex sends: every
// segment of every sub-table, and every table up to last_table_id.
#include <gtest/gtest.h>

#include "DSFilters/PsiRenderer/engine/PsiProcessorEit.h"
#include "psi/SectionBuilder.h"

namespace {

struct Section {
  uint8_t tableId;
  uint16_t serviceId;
  uint8_t number;
  uint8_t last;
  uint8_t segmentLast;
  uint8_t lastTableId;
};

std::vector<uint8_t> EitSection(const Section& s) {
  psitest::SectionSpec spec;
  spec.tableId = s.tableId;
  spec.extension = s.serviceId;
  spec.sectionNumber = s.number;
  spec.lastSectionNumber = s.last;
  // transport_stream_id 1, original_network_id 2, then one event without descriptors.
  spec.body = {0x00, 0x01, 0x00, 0x02, s.segmentLast, s.lastTableId,
               0x00, s.number, 0xC0, 0x79, 0x12, 0x45, 0x00, 0x01, 0x30, 0x00, 0x80, 0x00};
  return psitest::BuildSection(spec);
}

// Present/following of a service: sections 0 and 1.
std::vector<Section> PresentFollowing(uint16_t serviceId) {
  return {{0x4E, serviceId, 0, 1, 1, 0x4E}, {0x4E, serviceId, 1, 1, 1, 0x4E}};
}

// A day in eight segments of one section each, as many broadcasters send it.
std::vector<Section> OneSectionSegments(uint16_t serviceId, uint8_t tableId = 0x50, uint8_t lastTableId = 0x50) {
  std::vector<Section> sections;
  for (uint8_t first = 0; first <= 56; first += 8) sections.push_back({tableId, serviceId, first, 56, first, lastTableId});
  return sections;
}

std::vector<Section> Without(std::vector<Section> sections, uint8_t tableId, uint8_t number) {
  std::erase_if(sections, [&](const Section& s) { return s.tableId == tableId && s.number == number; });
  return sections;
}

std::vector<Section> Join(std::initializer_list<std::vector<Section>> parts) {
  std::vector<Section> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

bool Complete(const std::vector<Section>& sections) {
  CPsiProcessorEit processor(std::make_shared<CEpgEvents>(), PsiRenderer_NetworkType_Dvbt);
  std::vector<uint8_t> ids{0x4E};
  for (uint8_t id = 0x50; id <= 0x5F; ++id) ids.push_back(id);
  processor.SetTableIds(ids);
  for (const Section& s : sections) {
    const auto bytes = EitSection(s);
    processor.ProcessSection(bytes.data(), static_cast<uint32_t>(bytes.size()), 0x12, s.tableId);
  }
  return processor.IsComplete() != 0;
}

}  // namespace

TEST(EitCompleteness, FollowsSegmentsAndTableIds) {
  struct Case {
    const char* what;
    std::vector<Section> sections;
    bool complete;
  };
  const std::vector<Section> twoSectionSegment = {{0x50, 1, 0, 8, 1, 0x50}, {0x50, 1, 1, 8, 1, 0x50},
                                                  {0x50, 1, 8, 8, 8, 0x50}};
  const Case cases[] = {
      {"nothing yet", {}, false},
      {"present/following only: a schedule may follow", PresentFollowing(1), false},
      {"following missing", Join({Without(PresentFollowing(1), 0x4E, 1), OneSectionSegments(1)}), false},
      {"schedule in segments of one section", Join({PresentFollowing(1), OneSectionSegments(1)}), true},
      {"a segment missing", Join({PresentFollowing(1), Without(OneSectionSegments(1), 0x50, 24)}), false},
      {"a segment's second section", Join({PresentFollowing(1), twoSectionSegment}), true},
      {"a segment's second section missing", Join({PresentFollowing(1), Without(twoSectionSegment, 0x50, 1)}), false},
      {"a table up to last_table_id missing", Join({PresentFollowing(1), OneSectionSegments(1, 0x50, 0x51)}), false},
      {"the tables up to last_table_id",
       Join({PresentFollowing(1), OneSectionSegments(1, 0x50, 0x51), OneSectionSegments(1, 0x51, 0x51)}), true},
      {"a service without its schedule yet", Join({PresentFollowing(1), OneSectionSegments(1), PresentFollowing(2)}),
       false},
  };
  for (const Case& c : cases) EXPECT_EQ(Complete(c.sections), c.complete) << c.what;
}
