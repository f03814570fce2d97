#pragma once
// The demo multiplexes as the tests read them: the file, and its audio and
// video streams as the plug-in's PMT reading finds them.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"

namespace demotest {

inline std::string DemoPath(int mux) { return std::string(DTV_DEMO_DIR) + "/demo-mux" + std::to_string(mux) + ".ts"; }

inline std::vector<uint8_t> ReadDemo(int mux) {
  std::ifstream in(DemoPath(mux), std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool IsAudioOrVideo(StreamCodec codec) {
  return codec == StreamCodec::Mpeg2Video || codec == StreamCodec::H264 || codec == StreamCodec::MpegAudio ||
         codec == StreamCodec::Ac3;
}

// PID -> coding of every audio and video stream of every service.
inline std::map<uint16_t, StreamCodec> AudioAndVideoStreams(const std::vector<uint8_t>& ts) {
  CTransportStreamAnalyzer analyzer(false);
  const TransportStreamAnalysis analysis = analyzer.Analyze(ts);
  std::map<uint16_t, StreamCodec> streams;
  for (size_t i = 0; i < analysis.channels->Size(); ++i)
    for (const PidRecord& record : analysis.channels->GetChannel(i)->m_vPids)
      if (IsAudioOrVideo(record.codec)) streams[record.pid] = record.codec;
  return streams;
}

}  // namespace demotest
