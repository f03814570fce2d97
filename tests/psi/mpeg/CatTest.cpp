#include "psi/mpeg/Cat.h"

#include <gtest/gtest.h>

#include <typeinfo>

#include "psi/DescriptorBytes.h"
#include "psi/SectionBuilder.h"
#include "psi/TsTestSupport.h"

TEST(CCat, CaDescriptorsStayGeneric) {
  psitest::SectionSpec spec;
  spec.tableId = 0x01;
  spec.extension = 0xFFFF;
  spec.body = psitest::Concat({psitest::Descriptor(0x09, {0x05, 0x00, 0xE1, 0x23}),
                               psitest::Descriptor(0x09, {0x18, 0x10, 0xE1, 0x24, 0xAA})});
  const auto section = psitest::BuildSection(spec);
  CCat cat;
  ASSERT_TRUE(cat.AddSection(section.data(), section.size(), 1, 1));
  EXPECT_TRUE(cat.IsComplete());
  ASSERT_EQ(cat.descriptors.Count(), 2u);
  for (const auto& descriptor : cat.descriptors) {
    ASSERT_TRUE(descriptor.Decoded());
    EXPECT_EQ(typeid(*descriptor.Decoded()), typeid(CDescriptor));
    EXPECT_EQ(descriptor.tag, 0x09);
  }
  EXPECT_EQ(cat.descriptors.Get(0)->length, 4u);
  EXPECT_EQ(cat.descriptors.Get(1)->length, 5u);

  cat.Reset();
  EXPECT_EQ(cat.descriptors.Count(), 0u);
}
