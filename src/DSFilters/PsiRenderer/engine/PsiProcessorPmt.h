#pragma once
// The PMTs of the programs the PAT listed, one table per program number.
// The DVB and ATSC flavours differ in how they read the elementary streams.
#include <map>
#include <memory>
#include <vector>
#include "DSFilters/PsiRenderer/engine/PmtDescriptorReader.h"
#include "DSFilters/PsiRenderer/engine/PsiChannelProcessor.h"
#include "psi/mpeg/Pmt.h"

// What the classification rules made of one elementary stream.
struct StreamKind {
  PsiRenderer_StreamType classification = PsiRenderer_StreamType_Unknown;
  StreamCodec codec = StreamCodec::Unknown;
  uint8_t ac3 = 0;  // the AC-3 flag of an audio stream

  static constexpr StreamKind Video(StreamCodec codec) { return {PsiRenderer_StreamType_Video, codec, 0}; }
  static constexpr StreamKind Audio(StreamCodec codec, bool ac3) {
    return {PsiRenderer_StreamType_Audio, codec, static_cast<uint8_t>(ac3 ? 1 : 0)};
  }
  static constexpr StreamKind Teletext() { return {PsiRenderer_StreamType_Teletext, StreamCodec::Unknown, 0}; }
};

class CPsiProcessorPmt : public CPsiChannelProcessor {
 public:
  using CPsiChannelProcessor::CPsiChannelProcessor;

  int ProcessSection(const uint8_t* data, uint32_t length, uint32_t pid, uint32_t tableId) override;
  // 0 while no program is registered, else 1 only when every PMT is complete.
  int IsComplete() override;
  void Reset() override { m_mapPmts.clear(); }
  // Registers a fresh table for each listed program, forgetting the others.
  void SetPrograms(const std::vector<uint16_t>& programNumbers);

 protected:
  virtual std::unique_ptr<CPmt> CreateTable() const = 0;
  // Reads the streams of a complete PMT into the channel (list locked).
  virtual void EvaluateStreams(const CPmt& pmt, CChannel& channel, uint16_t pmtPid) = 0;

  // Appends the stream's PID record; an audio stream also gets its audio map
  // entry with the stream_type as its type byte.
  static void AddStream(CChannel& channel, AudioMap& audio, const PmtStream& stream, const StreamKind& kind);
  static void AddAudioRecords(CChannel& channel, const AudioMap& audio);

 private:
  std::map<uint16_t, std::unique_ptr<CPmt>> m_mapPmts;
};
