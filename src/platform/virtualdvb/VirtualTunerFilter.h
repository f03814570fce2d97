#pragma once
// The tuner filter of a virtual tuner. A tune selects the multiplex of the
// description that the settings receive; while the filter runs it plays that
// multiplex's file in a loop at the stream's bitrate, paced by the current
// clock, in samples that do not end on packet boundaries.
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/bda/TunerFilter.h"
#include "platform/virtualdvb/LoopingFile.h"
#include "platform/virtualdvb/VirtualDescription.h"

class CVirtualTunerFilter : public CBdaTunerFilter {
 public:
  // Bytes per sample: 131 packets and a quarter.
  static constexpr size_t kSampleBytes = 188 * 131 + 48;
  // Playing rate of a stream without clock references or a bitrate attribute.
  static constexpr uint64_t kDefaultBitrate = 20'000'000;

  explicit CVirtualTunerFilter(VirtualTuner tuner);
  virtual ~CVirtualTunerFilter();

  const VirtualTuner& Tuner() const { return m_tuner; }
  SignalStatus Signal() override;
  // A file plays from the tune on, or there is none.
  ULONG LockTimeMs() const override { return 0; }

  // Loads the description named in a virtual moniker and creates the filter
  // of its tuner.
  static HRESULT Create(const std::string& moniker, IUnknown** filter);

 protected:
  HRESULT Tune(const TunerSettings& settings) override;
  HRESULT FillBuffer(IMediaSample* sample) override;
  // Every start plays from the beginning of the file, paced from now.
  void OnStreamingStarts() override {
    m_playback = Playback{};
    m_playback.generation = kRestart;
  }

 private:
  struct Selection {
    std::optional<VirtualMultiplex> multiplex;
    uint64_t bitrate = kDefaultBitrate;
    uint64_t tunedAtMs = 0;
    uint64_t generation = 0;
  };
  static constexpr uint64_t kRestart = UINT64_MAX;  // a generation no selection has
  // What the streaming thread plays (touched by that thread only).
  struct Playback {
    uint64_t generation = 0;
    std::unique_ptr<LoopingFile> file;
    uint64_t bitrate = kDefaultBitrate;
    uint64_t startMs = 0;  // when the first byte was due
    uint64_t bytesSent = 0;
  };

  Selection CurrentSelection();
  void StartPlayback(const Selection& selection);

  const VirtualTuner m_tuner;
  std::mutex m_selectionMutex;
  Selection m_selection;
  Playback m_playback;
};
