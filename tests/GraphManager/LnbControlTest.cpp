// The LNB list of the satellite graph manager, and its tune command without a graph.
#include <gtest/gtest.h>

#include "Channel/KxChannel.h"
#include "GraphManager/KxGraphManagerDvbs.h"

namespace {
// The host's LNB object: only the position matters to the graph manager.
class CTestLnb : public IKxLnb {
 public:
  using InterfaceMap = ::InterfaceMap<IKxLnb>;
  virtual ~CTestLnb() = default;
  HRESULT put_Name(BSTR) override { return S_OK; }
  HRESULT get_Name(BSTR*) override { return E_NOTIMPL; }
  HRESULT put_SatellitePosition(BSTR) override { return S_OK; }
  HRESULT get_SatellitePosition(BSTR*) override { return E_NOTIMPL; }
  HRESULT put_LnbPosition(LONG position) override {
    m_position = position;
    return S_OK;
  }
  HRESULT get_LnbPosition(LONG* position) override {
    if (m_failing) return E_UNEXPECTED;
    *position = m_position;
    return S_OK;
  }
  HRESULT put_HighOscillator(LONG) override { return S_OK; }
  HRESULT get_HighOscillator(LONG*) override { return E_NOTIMPL; }
  HRESULT put_LowOscillator(LONG) override { return S_OK; }
  HRESULT get_LowOscillator(LONG*) override { return E_NOTIMPL; }
  HRESULT put_LnbSwitch(LONG) override { return S_OK; }
  HRESULT get_LnbSwitch(LONG*) override { return E_NOTIMPL; }
  bool m_failing = false;

 private:
  LONG m_position = 0;
};

ComPtr<ComObject<CTestLnb>> Lnb(LONG position) {
  auto lnb = ComObject<CTestLnb>::Make();
  lnb->put_LnbPosition(position);
  return lnb;
}

std::vector<IKxLnb*> Entries(IKxLnbControl* control) {
  LONG count = 0;
  EXPECT_EQ(control->get_LnbCount(&count), S_OK);
  std::vector<IKxLnb*> entries;
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IKxLnb> lnb;
    EXPECT_EQ(control->get_LnbByIndex(i, lnb.Put()), S_OK);
    entries.push_back(lnb.Get());
  }
  return entries;
}
}  // namespace

TEST(LnbControl, KeepsTheHostsOrderAndRemovesTheFirstAtAPosition) {
  auto manager = ComObject<CKxGraphManagerDvbs>::Make();
  const ComPtr<IKxLnbControl> control = QueryAs<IKxLnbControl>(static_cast<IKxGraphManager*>(manager.Get()));
  ASSERT_TRUE(control);
  auto first = Lnb(2), second = Lnb(1), sameAsFirst = Lnb(2);
  EXPECT_EQ(control->AddLnb(nullptr), E_POINTER);
  for (IKxLnb* lnb : {static_cast<IKxLnb*>(first.Get()), static_cast<IKxLnb*>(second.Get()),
                      static_cast<IKxLnb*>(sameAsFirst.Get())})
    ASSERT_EQ(control->AddLnb(lnb), S_OK);
  EXPECT_EQ(Entries(control.Get()), (std::vector<IKxLnb*>{first.Get(), second.Get(), sameAsFirst.Get()}));

  ComPtr<IKxLnb> out;
  LONG count = 0;
  for (const LONG index : {-1, 3}) {
    EXPECT_EQ(control->get_LnbByIndex(index, out.Put()), E_INVALIDARG) << index;
    EXPECT_EQ(control->RemoveLnbByIndex(index), E_INVALIDARG) << index;
  }
  EXPECT_EQ(control->get_LnbByIndex(0, nullptr), E_POINTER);
  EXPECT_EQ(control->get_LnbCount(nullptr), E_POINTER);
  EXPECT_EQ(control->ReservedLnbOperation(1, 2), E_NOTIMPL);
  EXPECT_EQ(control->put_LnbControlValue(5), S_OK);

  // Either LNB at position 2 removes the first entry there only.
  ASSERT_EQ(control->RemoveLnb(sameAsFirst.Get()), S_OK);
  EXPECT_EQ(Entries(control.Get()), (std::vector<IKxLnb*>{second.Get(), sameAsFirst.Get()}));
  // A failing position query removes nothing.
  auto broken = Lnb(1);
  broken->m_failing = true;
  EXPECT_EQ(control->RemoveLnb(broken.Get()), E_UNEXPECTED);
  EXPECT_EQ(control->RemoveLnb(nullptr), E_POINTER);
  ASSERT_EQ(control->RemoveLnbByIndex(0), S_OK);
  EXPECT_EQ(Entries(control.Get()), (std::vector<IKxLnb*>{sameAsFirst.Get()}));
  ASSERT_EQ(control->get_LnbCount(&count), S_OK);
  EXPECT_EQ(count, 1);
}

TEST(LnbControl, WithoutAGraphNoSatelliteChannelIsTuned) {
  auto manager = ComObject<CKxGraphManagerDvbs>::Make();
  auto channel = ComObject<CKxChannel>::Make();
  channel->put_Type(KxChannelType_DvbsTv);
  EXPECT_EQ(manager->put_Channel(channel.Get()), E_FAIL);
}
