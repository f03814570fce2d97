#include <gtest/gtest.h>

#include <numeric>

#include "DSFilters/TransportStreamCallback/TransportStreamCallbackFilter.h"
#include "RecordingCallback.h"
#include "platform/graph/FilterGraph.h"
#include "platform/graph/TestFilters.h"

TEST(TransportStreamSinkFilter, SamplesFromTheGraphReachTheCallback) {
  auto graph = ComObject<CFilterGraph>::Make();
  auto source = ComObject<CTestSource>::Make();
  ComPtr<IBaseFilter> sink;
  ASSERT_EQ(S_OK, CTransportStreamSinkFilter::CreateFilter(sink.Put()));
  EXPECT_EQ(E_POINTER, CTransportStreamSinkFilter::CreateFilter(nullptr));
  auto control = QueryAs<IKxTransportStreamSinkControl>(sink.Get());
  ASSERT_TRUE(control);
  auto callback = ComObject<CRecordingCallback>::Make();
  ASSERT_EQ(S_OK, control->SetCallback(callback.Get()));

  ASSERT_EQ(S_OK, graph->AddFilter(source.Get(), u"Source"));
  ASSERT_EQ(S_OK, graph->AddFilter(sink.Get(), u"TransportStreamSink"));
  auto input = PinOf(sink.Get(), u"Input");
  ASSERT_TRUE(input);
  const AM_MEDIA_TYPE sections{MEDIATYPE_MPEG2_SECTIONS, GUID_NULL, GUID_NULL, {}};
  EXPECT_EQ(S_FALSE, input->QueryAccept(&sections));
  ASSERT_EQ(S_OK, graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), input.Get(), nullptr));

  auto sample = ComObject<CMediaSample>::Make(1316);
  uint8_t* data = nullptr;
  ASSERT_EQ(S_OK, sample->GetPointer(&data));
  std::iota(data, data + 1316, uint8_t{0});
  sample->SetActualDataLength(1316);
  EXPECT_EQ(VFW_E_WRONG_STATE, source->Push(sample.Get()));  // a stopped graph takes nothing

  ASSERT_EQ(S_OK, graph->Run());
  control->StartDeliver();
  EXPECT_EQ(S_OK, source->Push(sample.Get()));
  sample->SetActualDataLength(0);
  EXPECT_EQ(S_OK, source->Push(sample.Get()));  // an empty sample is no data
  sample->SetActualDataLength(1316);
  EXPECT_EQ(S_OK, source->Push(sample.Get()));
  ASSERT_TRUE(callback->WaitForBytes(2 * 1316));
  graph->Stop();
  control->StopDeliver();
  // Connected filters hold each other; removing them breaks the connection,
  // so the sink (and its worker) ends with the last reference.
  ASSERT_EQ(S_OK, graph->RemoveFilter(source.Get()));
  ASSERT_EQ(S_OK, graph->RemoveFilter(sink.Get()));

  std::vector<uint8_t> expected(data, data + 1316);
  expected.insert(expected.end(), data, data + 1316);
  EXPECT_EQ(expected, callback->Data());
  EXPECT_EQ("start stop ", callback->Notes());

  control.Reset();
  input.Reset();  // a pin holds its filter
  sink.Reset();
  // The filter is gone and has let go of the callback.
  EXPECT_EQ(1u, callback->AddRef() - 1);
  callback->Release();
}

TEST(TransportStreamSinkFilter, EndOfStreamFromThePinEndsTheDataUntilTheNextStart) {
  auto graph = ComObject<CFilterGraph>::Make();
  auto source = ComObject<CTestSource>::Make();
  auto sink = ComObject<CTransportStreamSinkFilter>::Make();
  auto callback = ComObject<CRecordingCallback>::Make();
  ASSERT_EQ(S_OK, sink->SetCallback(callback.Get()));
  ASSERT_EQ(S_OK, graph->AddFilter(source.Get(), u"Source"));
  ASSERT_EQ(S_OK, graph->AddFilter(sink.Get(), u"TransportStreamSink"));
  ASSERT_EQ(S_OK, graph->ConnectDirect(PinOf(source.Get(), u"Output").Get(), PinOf(sink.Get(), u"Input").Get(), nullptr));
  auto sample = ComObject<CMediaSample>::Make(188);
  uint8_t* data = nullptr;
  ASSERT_EQ(S_OK, sample->GetPointer(&data));
  std::iota(data, data + 188, uint8_t{3});
  sample->SetActualDataLength(188);

  ASSERT_EQ(S_OK, graph->Run());
  sink->StartDeliver();
  ASSERT_EQ(S_OK, source->Output().DeliverEndOfStream());
  EXPECT_EQ(S_OK, source->Push(sample.Get()));
  EXPECT_EQ(188u, sink->LostBytes());

  sink->StartDeliver();
  EXPECT_EQ(S_OK, source->Push(sample.Get()));
  ASSERT_TRUE(callback->WaitForBytes(188));
  EXPECT_EQ(std::vector<uint8_t>(data, data + 188), callback->Data());
  EXPECT_EQ(188u, sink->LostBytes());
  graph->Stop();
  sink->StopDeliver();
  graph->RemoveFilter(source.Get());
  graph->RemoveFilter(sink.Get());
}
