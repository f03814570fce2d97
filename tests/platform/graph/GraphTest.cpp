#include <gtest/gtest.h>

#include "platform/graph/FilterGraph.h"
#include "platform/graph/TestFilters.h"

namespace {

struct GraphFixture : ::testing::Test {
  ComPtr<ComObject<CFilterGraph>> graph = ComObject<CFilterGraph>::Make();
  ComPtr<ComObject<CTestSource>> source = ComObject<CTestSource>::Make();
  ComPtr<ComObject<CTestRenderer>> renderer = ComObject<CTestRenderer>::Make();
  ComPtr<ComObject<CMediaSample>> sample = ComObject<CMediaSample>::Make(188 * 7);

  void Build() {
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(renderer.Get(), u"Renderer"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), PinOf(renderer.Get(), u"Input").Get(), nullptr),
              S_OK);
  }
};

TEST_F(GraphFixture, DeliversOnlyWhileNotStopped) {
  Build();
  sample->SetActualDataLength(188);
  EXPECT_EQ(source->Push(sample.Get()), VFW_E_WRONG_STATE);
  ASSERT_EQ(graph->Run(), S_OK);
  EXPECT_EQ(renderer->State(), State_Running);
  EXPECT_EQ(source->Push(sample.Get()), S_OK);
  ASSERT_EQ(graph->Stop(), S_OK);
  EXPECT_EQ(renderer->Lengths(), std::vector<LONG>{188});
}

TEST_F(GraphFixture, FlushDropsSamplesAndEndOfStreamLastsUntilTheNextSample) {
  Build();
  ASSERT_EQ(graph->Run(), S_OK);
  sample->SetActualDataLength(188);
  EXPECT_EQ(source->Output().DeliverBeginFlush(), S_OK);
  EXPECT_EQ(source->Push(sample.Get()), S_FALSE);
  EXPECT_EQ(source->Output().DeliverEndOfStream(), S_FALSE);
  EXPECT_FALSE(renderer->AtEndOfStream());
  EXPECT_EQ(source->Output().DeliverEndFlush(), S_OK);
  EXPECT_EQ(source->Output().DeliverNewSegment(0, 0, 1.0), S_OK);
  EXPECT_EQ(source->Output().DeliverEndOfStream(), S_OK);
  EXPECT_TRUE(renderer->AtEndOfStream());
  EXPECT_EQ(source->Push(sample.Get()), S_OK);
  EXPECT_FALSE(renderer->AtEndOfStream());
  EXPECT_EQ(renderer->Lengths(), std::vector<LONG>{188});
  // Only input pins take stream control.
  EXPECT_EQ(PinOf(source.Get(), u"Output")->EndOfStream(), E_UNEXPECTED);
}

TEST_F(GraphFixture, ConnectsOnlyAcceptedTypesAndOnlyWhenStopped) {
  ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
  ASSERT_EQ(graph->AddFilter(renderer.Get(), u"Renderer"), S_OK);
  AM_MEDIA_TYPE video{MEDIATYPE_Video, GUID_NULL, GUID_NULL, {}};
  auto out = PinOf(source.Get(), u"Output");
  auto in = PinOf(renderer.Get(), u"Input");
  EXPECT_EQ(graph->ConnectDirect(out.Get(), in.Get(), &video), VFW_E_TYPE_NOT_ACCEPTED);
  EXPECT_EQ(graph->ConnectDirect(in.Get(), out.Get(), nullptr), VFW_E_INVALID_DIRECTION);
  ASSERT_EQ(graph->ConnectDirect(out.Get(), in.Get(), nullptr), S_OK);
  EXPECT_EQ(graph->ConnectDirect(out.Get(), in.Get(), nullptr), VFW_E_ALREADY_CONNECTED);
  AM_MEDIA_TYPE mt;
  ASSERT_EQ(in->ConnectionMediaType(&mt), S_OK);
  EXPECT_EQ(mt, TransportStreamMediaType());
  ASSERT_EQ(graph->Disconnect(out.Get()), S_OK);
  EXPECT_EQ(in->ConnectionMediaType(&mt), VFW_E_NOT_CONNECTED);
}

TEST_F(GraphFixture, NamesAreUniqueAndRemovalDisconnects) {
  Build();
  auto second = ComObject<CTestRenderer>::Make();
  ASSERT_EQ(graph->AddFilter(second.Get(), u"Renderer"), S_OK);
  ComPtr<IBaseFilter> found;
  ASSERT_EQ(graph->FindFilterByName(u"Renderer 2", found.Put()), S_OK);
  EXPECT_EQ(found.Get(), static_cast<IBaseFilter*>(second.Get()));
  ASSERT_EQ(graph->RemoveFilter(renderer.Get()), S_OK);
  ComPtr<IPin> peer;
  EXPECT_EQ(PinOf(source.Get(), u"Output")->ConnectedTo(peer.Put()), VFW_E_NOT_CONNECTED);
  EXPECT_EQ(graph->FindFilterByName(u"Renderer", found.Put()), VFW_E_NOT_FOUND);
}

TEST_F(GraphFixture, QueuesEventsInOrder) {
  Build();
  EXPECT_EQ(renderer->NotifyEvent(EC_COMPLETE, 1, 2), S_OK);
  EXPECT_EQ(renderer->NotifyEvent(EC_ERRORABORT, 3, 4), S_OK);
  GraphEvent e{};
  ASSERT_TRUE(graph->GetEvent(&e, 0));
  EXPECT_EQ(e.code, EC_COMPLETE);
  ASSERT_TRUE(graph->GetEvent(&e, 0));
  EXPECT_EQ(e.param2, 4);
  EXPECT_FALSE(graph->GetEvent(&e, 0));
}

}  // namespace

namespace {

TEST(FilterGraph, ReleasesConnectedFiltersWhenItGoes) {
  const LONG before = ModuleLock::Value();
  {
    auto graph = ComObject<CFilterGraph>::Make();
    auto source = ComObject<CTestSource>::Make();
    auto renderer = ComObject<CTestRenderer>::Make();
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(renderer.Get(), u"Renderer"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), PinOf(renderer.Get(), u"Input").Get(), nullptr),
              S_OK);
  }
  EXPECT_EQ(ModuleLock::Value(), before) << "every filter and the graph are gone";
}

}  // namespace
