#include "platform/virtualdvb/VirtualTunerFilter.h"

#include <algorithm>

#include "logging/LogFile.h"
#include "platform/com/Utf.h"
#include "platform/sync/Clock.h"
#include "platform/virtualdvb/MultiplexSelection.h"
#include "platform/virtualdvb/StreamBitrate.h"

namespace {
std::vector<DeliverySystem> Systems(const VirtualTuner& tuner) {
  if (!tuner.system) return {};
  return {*tuner.system};
}

// Enough of a file for its clock references to give the rate.
constexpr size_t kBitrateScanBytes = 32 * 1024 * 1024;

uint64_t PlayingBitrate(const VirtualMultiplex& mux) {
  if (mux.bitrate > 0) return mux.bitrate;
  const std::string start = ReadFileStart(mux.file, kBitrateScanBytes);
  const auto measured =
      PcrBitrate(std::span(reinterpret_cast<const uint8_t*>(start.data()), start.size()));
  return measured.value_or(CVirtualTunerFilter::kDefaultBitrate);
}
}  // namespace

CVirtualTunerFilter::CVirtualTunerFilter(VirtualTuner tuner)
    : CBdaTunerFilter(Utf8ToUtf16(tuner.friendlyName), Systems(tuner), kSampleBytes), m_tuner(std::move(tuner)) {}

CVirtualTunerFilter::~CVirtualTunerFilter() { StopStreaming(); }

HRESULT CVirtualTunerFilter::Create(const std::string& moniker, IUnknown** filter) {
  if (!filter) return E_POINTER;
  *filter = nullptr;
  std::string path, id, error;
  if (!ParseVirtualMoniker(moniker, path, id)) return E_INVALIDARG;
  const auto description = LoadVirtualDescription(path, error);
  if (!description) {
    log(1, "Virtual tuner description not loaded: %s", error.c_str());
    return E_FAIL;
  }
  for (const VirtualTuner& tuner : description->tuners)
    if (tuner.id == id) return ComObject<CVirtualTunerFilter>::CreateAndQuery(filter, tuner);
  log(1, "Virtual tuner %s not found in %s", id.c_str(), path.c_str());
  return E_FAIL;
}

HRESULT CVirtualTunerFilter::Tune(const TunerSettings& settings) {
  const VirtualMultiplex* mux = SelectMultiplex(m_tuner, settings);
  const uint64_t bitrate = mux ? PlayingBitrate(*mux) : kDefaultBitrate;
  {
    std::lock_guard lock(m_selectionMutex);
    m_selection.multiplex = mux ? std::optional(*mux) : std::nullopt;
    m_selection.bitrate = bitrate;
    m_selection.tunedAtMs = CurrentClock().NowMs();
    m_selection.generation = ChangeSource();
  }
  log(2, "Virtual tuner %s: %u kHz: %s", m_tuner.id.c_str(), static_cast<unsigned>(settings.frequencyKHz),
      mux ? mux->file.c_str() : "no signal");
  Wake();
  return S_OK;
}

SignalStatus CVirtualTunerFilter::Signal() {
  std::lock_guard lock(m_selectionMutex);
  if (!m_selection.multiplex) return {};
  const VirtualMultiplex& mux = *m_selection.multiplex;
  return {mux.strength, mux.quality, mux.strength > 0, mux.locked};
}

CVirtualTunerFilter::Selection CVirtualTunerFilter::CurrentSelection() {
  std::lock_guard lock(m_selectionMutex);
  return m_selection;
}

void CVirtualTunerFilter::StartPlayback(const Selection& selection) {
  m_playback = Playback{};
  m_playback.generation = selection.generation;
  if (!selection.multiplex) return;
  m_playback.file = std::make_unique<LoopingFile>(selection.multiplex->file);
  m_playback.bitrate = selection.bitrate;
  // The stream flows from the tune or the start, whichever came last.
  m_playback.startMs = std::max(selection.tunedAtMs, StreamingStartMs());
}

HRESULT CVirtualTunerFilter::FillBuffer(IMediaSample* sample) {
  const Selection selection = CurrentSelection();
  if (selection.generation != m_playback.generation || (selection.multiplex && !m_playback.file))
    StartPlayback(selection);
  // No multiplex at this frequency: nothing arrives until the next tune.
  if (!m_playback.file) {
    WaitUntil(UINT64_MAX);
    return S_OK;
  }
  const size_t size = static_cast<size_t>(sample->GetSize());
  const uint64_t due = m_playback.startMs + (m_playback.bytesSent + size) * 8000 / m_playback.bitrate;
  if (!WaitUntil(due)) return S_OK;  // retuned or stopping
  uint8_t* buffer = nullptr;
  sample->GetPointer(&buffer);
  std::string error;
  if (!m_playback.file->Read(buffer, size, error)) {
    log(1, "Virtual tuner %s: the stream ends: %s", m_tuner.id.c_str(), error.c_str());
    m_playback.file.reset();
    return E_FAIL;
  }
  m_playback.bytesSent += size;
  sample->SetActualDataLength(static_cast<LONG>(size));
  SetSampleSource(m_playback.generation);  // a retune while it was read drops it
  return S_OK;
}
