#include <gtest/gtest.h>

#include "Tuner/KxTransponderInfo.h"

namespace {

TEST(TransponderInfo, ReturnsTheValuesItWasMadeWith) {
  ComPtr<IKxTransponderInfo> info;
  ASSERT_EQ(CKxTransponderInfo::CreateInstance(11727000, 1, 27500, 192, VARIANT_TRUE, info.Put()), S_OK);
  LONG value = 0;
  ASSERT_EQ(info->get_Frequency(&value), S_OK);
  EXPECT_EQ(value, 11727000);
  ASSERT_EQ(info->get_Polarisation(&value), S_OK);
  EXPECT_EQ(value, 1);
  ASSERT_EQ(info->get_SymbolRate(&value), S_OK);
  EXPECT_EQ(value, 27500);
  ASSERT_EQ(info->get_Satellite(&value), S_OK);
  EXPECT_EQ(value, 192);
  VARIANT_BOOL dvbS2 = 0;
  ASSERT_EQ(info->get_IsDvbS2(&dvbS2), S_OK);
  EXPECT_EQ(dvbS2, VARIANT_TRUE);
}

TEST(TransponderInfo, NullPointersAreRefused) {
  EXPECT_EQ(CKxTransponderInfo::CreateInstance(-1, -1, -1, -1, VARIANT_FALSE, nullptr), E_POINTER);
  ComPtr<IKxTransponderInfo> info;
  ASSERT_EQ(CKxTransponderInfo::CreateInstance(-1, -1, -1, -1, VARIANT_FALSE, info.Put()), S_OK);
  EXPECT_EQ(info->get_Frequency(nullptr), E_POINTER);
  EXPECT_EQ(info->get_Polarisation(nullptr), E_POINTER);
  EXPECT_EQ(info->get_SymbolRate(nullptr), E_POINTER);
  EXPECT_EQ(info->get_Satellite(nullptr), E_POINTER);
  EXPECT_EQ(info->get_IsDvbS2(nullptr), E_POINTER);
  VARIANT_BOOL dvbS2 = VARIANT_TRUE;
  ASSERT_EQ(info->get_IsDvbS2(&dvbS2), S_OK);
  EXPECT_EQ(dvbS2, VARIANT_FALSE);
}

}  // namespace
