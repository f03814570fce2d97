#include <gtest/gtest.h>

#include "DSFilters/TsBlocker/TsBlockerFilter.h"
#include "platform/graph/FilterGraph.h"
#include "platform/graph/TestFilters.h"

namespace {

TEST(TsBlocker, BlockedSamplesStillFlowWithLengthZero) {
  auto graph = ComObject<CFilterGraph>::Make();
  auto source = ComObject<CTestSource>::Make();
  auto renderer = ComObject<CTestRenderer>::Make();
  ComPtr<IBaseFilter> blocker;
  ASSERT_EQ(CTsBlockerFilter::CreateFilter(blocker.Put()), S_OK);
  ComPtr<ITsBlockerFilter> control = QueryAs<ITsBlockerFilter>(blocker.Get());
  ASSERT_TRUE(control);
  EXPECT_EQ(CTsBlockerFilter::CreateFilter(nullptr), E_POINTER);

  ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
  ASSERT_EQ(graph->AddFilter(blocker.Get(), u"TS Blocker"), S_OK);
  ASSERT_EQ(graph->AddFilter(renderer.Get(), u"Renderer"), S_OK);
  ASSERT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), PinOf(blocker.Get(), u"Input").Get(), nullptr), S_OK);
  ASSERT_EQ(graph->ConnectDirect(PinOf(blocker.Get(), u"Output").Get(), PinOf(renderer.Get(), u"Input").Get(), nullptr), S_OK);
  ASSERT_EQ(graph->Run(), S_OK);

  auto sample = ComObject<CMediaSample>::Make(1316);
  auto push = [&] {
    sample->SetActualDataLength(1316);
    EXPECT_EQ(source->Push(sample.Get()), S_OK);
  };
  push();
  EXPECT_EQ(control->put_Enabled(VARIANT_TRUE), S_OK);  // never blocked: nothing changes
  push();
  EXPECT_EQ(control->put_Enabled(VARIANT_FALSE), S_OK);
  push();
  push();
  EXPECT_EQ(control->put_Enabled(VARIANT_TRUE), S_OK);
  push();
  graph->Stop();
  EXPECT_EQ(renderer->Lengths(), (std::vector<LONG>{1316, 1316, 0, 0, 1316}));
}

}  // namespace
