#include <gtest/gtest.h>

#include "platform/graph/FilterGraph.h"
#include "platform/graph/SourceFilter.h"
#include "platform/graph/TestFilters.h"

namespace {
// Delivers `count` samples of increasing length, then ends as `ending` says;
// with `waitForStop` it waits for the stop instead of ending.
class CCountingSource : public CSourceFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  CCountingSource(int count, HRESULT ending, bool waitForStop)
      : CSourceFilter(u"Counting", GUID_NULL, 1000), m_count(count), m_ending(ending), m_waitForStop(waitForStop) {}
  virtual ~CCountingSource() { StopStreaming(); }

  Event waiting{Event::Reset::Manual};
  std::atomic<int> starts{0};

 protected:
  void OnStreamingStarts() override {
    ++starts;
    m_filled = 0;
  }
  HRESULT FillBuffer(IMediaSample* sample) override {
    if (m_filled < m_count) {
      sample->SetActualDataLength(++m_filled);
      return S_OK;
    }
    if (!m_waitForStop) return m_ending;
    waiting.Set();
    EXPECT_FALSE(WaitUntil(UINT64_MAX));
    return S_OK;
  }

 private:
  const int m_count;
  const HRESULT m_ending;
  const bool m_waitForStop;
  int m_filled = 0;
};

struct SourceFilterTest : ::testing::Test {
  ComPtr<ComObject<CFilterGraph>> graph = ComObject<CFilterGraph>::Make();
  ComPtr<ComObject<CTestRenderer>> renderer = ComObject<CTestRenderer>::Make();

  ComPtr<ComObject<CCountingSource>> Build(int count, HRESULT ending, bool waitForStop) {
    auto source = ComObject<CCountingSource>::Make(count, ending, waitForStop);
    EXPECT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    EXPECT_EQ(graph->AddFilter(renderer.Get(), u"Renderer"), S_OK);
    EXPECT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"MPEG2 Transport").Get(),
                                   PinOf(renderer.Get(), u"Input").Get(), nullptr),
              S_OK);
    return source;
  }
};
}  // namespace

TEST_F(SourceFilterTest, StreamsUntilTheEndThenDeliversEndOfStream) {
  struct Case {
    HRESULT ending;
    std::optional<LONG> event;
  };
  const Case cases[] = {{S_FALSE, std::nullopt}, {E_FAIL, EC_ERRORABORT}};
  for (const Case& c : cases) {
    graph = ComObject<CFilterGraph>::Make();
    renderer = ComObject<CTestRenderer>::Make();
    auto source = Build(3, c.ending, false);
    ASSERT_EQ(graph->Run(), S_OK);
    // The renderer's end of stream comes after the last sample; wait for it
    // through the graph stop, which joins the streaming thread.
    GraphEvent event{};
    if (c.event) {
      ASSERT_TRUE(graph->GetEvent(&event, INFINITE));
      EXPECT_EQ(event.code, *c.event);
      EXPECT_EQ(static_cast<HRESULT>(event.param1), c.ending);
    }
    while (!renderer->AtEndOfStream()) std::this_thread::yield();
    ASSERT_EQ(graph->Stop(), S_OK);
    EXPECT_EQ(renderer->Lengths(), (std::vector<LONG>{1, 2, 3}));
    EXPECT_FALSE(graph->GetEvent(&event, 0));
  }
}

TEST_F(SourceFilterTest, StopEndsAWaitingThreadAndRunStartsItAgain) {
  auto source = Build(2, S_OK, true);
  for (int run = 1; run <= 2; ++run) {
    source->waiting.ResetEvent();
    ASSERT_EQ(graph->Pause(), S_OK);
    ASSERT_EQ(graph->Run(), S_OK);  // already streaming: not started twice
    ASSERT_TRUE(source->waiting.Wait(INFINITE));
    ASSERT_EQ(graph->Stop(), S_OK);
    EXPECT_EQ(source->starts.load(), run);
  }
  EXPECT_EQ(renderer->Lengths(), (std::vector<LONG>{1, 2, 1, 2}));
  EXPECT_FALSE(renderer->AtEndOfStream());
}

namespace {
// Holds the first sample until the graph has stopped it, as a slow filter
// downstream would.
class CHoldingRenderer : public CBaseFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  CHoldingRenderer() : CBaseFilter(u"Holding", GUID_NULL), m_pin(this) {}
  virtual ~CHoldingRenderer() = default;
  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int index) override { return index == 0 ? &m_pin : nullptr; }

  Event entered{Event::Reset::Manual};
  std::atomic<bool> finished{false};

 private:
  class Pin : public CBaseInputPin {
   public:
    explicit Pin(CHoldingRenderer* f) : CBaseInputPin(f, &f->m_lock, u"Input"), m_owner(f) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }
    HRESULT Receive(IMediaSample* sample) override {
      const HRESULT hr = CBaseInputPin::Receive(sample);
      if (hr != S_OK || m_owner->finished) return hr;
      m_owner->entered.Set();
      while (m_owner->State() != State_Stopped) std::this_thread::yield();
      m_owner->finished = true;
      return S_OK;
    }
    CHoldingRenderer* m_owner;
  };
  Pin m_pin;
};
}  // namespace

TEST_F(SourceFilterTest, StopReturnsOnlyWhenNoSampleIsInFlight) {
  auto source = ComObject<CCountingSource>::Make(1000000, S_FALSE, false);
  auto holding = ComObject<CHoldingRenderer>::Make();
  ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
  ASSERT_EQ(graph->AddFilter(holding.Get(), u"Holding"), S_OK);
  ASSERT_EQ(graph->ConnectDirect(PinOf(source.Get(), u"MPEG2 Transport").Get(), PinOf(holding.Get(), u"Input").Get(),
                                 nullptr),
            S_OK);
  ASSERT_EQ(graph->Run(), S_OK);
  ASSERT_TRUE(holding->entered.Wait(INFINITE));
  // The graph stops the renderer first; the sample it holds then completes,
  // and only after that may the source's stop return.
  ASSERT_EQ(graph->Stop(), S_OK);
  EXPECT_TRUE(holding->finished);
}

TEST_F(SourceFilterTest, OutputCarriesTheTransportStreamOnly) {
  auto source = ComObject<CCountingSource>::Make(0, S_FALSE, false);
  auto out = PinOf(source.Get(), u"MPEG2 Transport");
  std::vector<AM_MEDIA_TYPE> types;
  ASSERT_EQ(out->EnumMediaTypes(&types), S_OK);
  EXPECT_EQ(types, std::vector{TransportStreamMediaType()});
  AM_MEDIA_TYPE video{MEDIATYPE_Video, GUID_NULL, GUID_NULL, {}};
  EXPECT_EQ(out->QueryAccept(&video), S_FALSE);
}

TEST_F(SourceFilterTest, APausedLiveSourceCannotCue) {
  auto source = Build(1, S_FALSE, true);
  FILTER_STATE state = State_Stopped;
  EXPECT_EQ(source->GetState(0, &state), S_OK);
  ASSERT_EQ(graph->Pause(), S_OK);
  EXPECT_EQ(source->GetState(0, &state), VFW_S_CANT_CUE);
  EXPECT_EQ(state, State_Paused);
  ASSERT_EQ(graph->Run(), S_OK);
  EXPECT_EQ(source->GetState(0, &state), S_OK);
  ASSERT_EQ(graph->Stop(), S_OK);
}

namespace {
// Reads its state, then is woken (a retune that lands between reading the
// tuning and waiting), then waits for nothing in particular.
class CWokenBeforeItWaits : public CSourceFilter {
 public:
  using InterfaceMap = ::InterfaceMap<IBaseFilter>;
  CWokenBeforeItWaits() : CSourceFilter(u"Woken", GUID_NULL, 1000) {}
  virtual ~CWokenBeforeItWaits() { StopStreaming(); }

  Event waitEnded{Event::Reset::Manual};
  std::atomic<bool> woken{false};

 protected:
  HRESULT FillBuffer(IMediaSample*) override {
    if (waitEnded.IsSet()) {
      WaitUntil(UINT64_MAX);
      return S_OK;
    }
    Wake();
    woken = !WaitUntil(UINT64_MAX);
    waitEnded.Set();
    return S_OK;
  }
};
}  // namespace

TEST_F(SourceFilterTest, AWakeBeforeTheWaitEndsIt) {
  auto source = ComObject<CWokenBeforeItWaits>::Make();
  ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
  ASSERT_EQ(graph->Run(), S_OK);
  // Bounded, so that a lost wake fails here instead of hanging: the stop below ends the wait anyway.
  EXPECT_TRUE(source->waitEnded.Wait(10000));
  ASSERT_EQ(graph->Stop(), S_OK);
  EXPECT_TRUE(source->woken);
}
