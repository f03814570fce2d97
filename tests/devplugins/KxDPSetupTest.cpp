#include <gtest/gtest.h>

#include "FakeGraphManager.h"
#include "devplugins/KxDPSetup.h"

namespace {
class KxDPSetupTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(S_OK, CKxDPSetup::CreateInstance(&m_graph, m_setup.Put())); }

  HRESULT PutState(const Variant& value, LONG id = KxDPSetupProperty_GraphState) {
    return m_setup->put_Property(id, value);
  }

  FakeGraphManager m_graph;
  ComPtr<IKxDPSetup> m_setup;
};
}  // namespace

TEST_F(KxDPSetupTest, FilterPropertiesLookUpTheirRoles) {
  const LONG roles[] = {12, 13, 14, 11, 16};
  for (LONG id = 0; id < 5; ++id) {
    const auto filter = m_graph.AddFilter(roles[id]);
    Variant value;
    ASSERT_EQ(S_OK, m_setup->get_Property(id, &value)) << id;
    ASSERT_EQ(VT_UNKNOWN, value.vt);
    EXPECT_EQ(filter.Get(), value.punkVal) << id;
  }
}

TEST_F(KxDPSetupTest, MissingFilterFails) {
  m_graph.AddFilter(12);
  Variant value;
  EXPECT_EQ(E_FAIL, m_setup->get_Property(KxDPSetupProperty_TunerFilter, &value));
  EXPECT_EQ(VT_EMPTY, value.vt);
}

TEST_F(KxDPSetupTest, MonikerAndHardwareEnumerator) {
  Variant value;
  ASSERT_EQ(S_OK, m_setup->get_Property(5, &value));
  ASSERT_EQ(VT_BSTR, value.vt);
  EXPECT_EQ(u"@device:dvb0", std::u16string_view(value.bstrVal));
  ASSERT_EQ(S_OK, m_setup->get_Property(6, &value));
  ASSERT_EQ(VT_UNKNOWN, value.vt);
  EXPECT_EQ(m_graph.m_enumerator.Get(), value.punkVal);
}

TEST_F(KxDPSetupTest, OtherGetIdsAndNullValue) {
  Variant value;
  for (LONG id : {-1, 7, 8}) EXPECT_EQ(E_FAIL, m_setup->get_Property(id, &value)) << id;
  EXPECT_EQ(E_POINTER, m_setup->get_Property(0, nullptr));
}

TEST_F(KxDPSetupTest, GraphStateDrivesTheGraphAlone) {
  EXPECT_EQ(S_OK, PutState(Variant(0)));
  EXPECT_EQ(S_OK, PutState(Variant(1)));
  EXPECT_EQ(S_OK, PutState(Variant(2)));
  EXPECT_EQ(S_OK, PutState(Variant(3)));                           // unknown state: nothing
  EXPECT_EQ(S_OK, PutState(Variant(std::u16string_view(u"2"))));  // not an integer: nothing
  EXPECT_EQ("stop pause run ", m_graph.m_calls);
  EXPECT_EQ(E_FAIL, PutState(Variant(2), KxDPSetupProperty_TunerFilter));
  EXPECT_EQ("stop pause run ", m_graph.m_calls);
}

TEST_F(KxDPSetupTest, GraphFailureIsReturned) {
  m_graph.m_graphResult = E_UNEXPECTED;
  EXPECT_EQ(E_UNEXPECTED, PutState(Variant(2)));
}
