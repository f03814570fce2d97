#pragma once
// Everything a search learnt about one program of the tuned transport stream.
// Integer fields hold -1 while no table has given them.
#include <array>
#include <cstdint>
#include <vector>
#include "DSFilters/PsiRenderer/engine/PsiRendererTypes.h"
#include "DSFilters/PsiRenderer/engine/StreamCodec.h"
#include "platform/com/BStr.h"

using LanguageChars = std::array<uint8_t, 3>;

struct PidRecord {
  uint16_t pid = 0;
  uint8_t stream_type = 0;  // 0 for the PMT's own PID
  PsiRenderer_StreamType classification = PsiRenderer_StreamType_Unknown;
  StreamCodec codec = StreamCodec::Unknown;
};

struct AudioRecord {
  LanguageChars language{};  // zero when no language descriptor was seen
  uint8_t type = 0;          // stream_type when classified as audio, else the audio_type
  uint8_t ac3 = 0;
  uint16_t pid = 0;
};

struct TeletextRecord {
  LanguageChars language{};
  uint8_t teletext_type = 0;
  uint8_t magazine_number = 0;
  uint8_t page_number = 0;
  uint16_t pid = 0;
};

struct SubtitleRecord {
  LanguageChars language{};
  uint8_t subtitling_type = 0;
  uint16_t composition_page_id = 0;
  uint16_t ancillary_page_id = 0;
  uint16_t pid = 0;
};

class CChannel {
 public:
  CChannel() = default;
  CChannel(const CChannel&) = default;
  CChannel& operator=(const CChannel&) = default;
  virtual ~CChannel() = default;

  int32_t m_nOrdinal = -1;
  int32_t m_nNetworkId = -1;
  int32_t m_nOriginalNetworkId = -1;
  int32_t m_nProgramNumber = -1;
  int32_t m_nServiceId = -1;
  int32_t m_nPcrPid = -1;
  int32_t m_nTransportStreamId = -1;
  int32_t m_nCa = -1;
  int32_t m_nServiceType = -1;
  int32_t m_nRunningStatus = -1;
  int32_t m_nChannelTsId = -1;
  BStr m_bstrServiceProvider;
  BStr m_bstrServiceName;
  BStr m_bstrNetworkName;
  int32_t m_nSourceId = -1;
  int32_t m_nCarrierFrequency = -1;
  int32_t m_nModulation = -1;
  int32_t m_nSymbolRate = -1;
  int32_t m_nPolarisation = -1;
  int32_t m_nOrbitalPosition = -1;
  int32_t m_nWestEastFlag = -1;
  int32_t m_nBandwidth = -1;
  int32_t m_nMajorChannelNumber = -1;
  int32_t m_nMinorChannelNumber = -1;
  int32_t m_nReserved = 0;
  std::vector<PidRecord> m_vPids;
  std::vector<AudioRecord> m_vAudio;
  std::vector<TeletextRecord> m_vTeletext;
  std::vector<SubtitleRecord> m_vSubtitles;
  int32_t m_nPmtPid = -1;
  int32_t m_nDvbS2 = 0;
  int32_t m_nRollOff = -1;
  int32_t m_nS2BackwardsCompatibility = -1;
  int32_t m_nVideoStreamType = 0;  // 0 unknown, 1 MPEG-2, 2 MPEG-4 (H.264 and HEVC)
};
