#include "GraphManager/DemoChannels.h"

#include <algorithm>

#include "DSFilters/PsiRenderer/RecordingAnalysis.h"

bool FirstTvService(const std::string& file, DemoService* service) {
  const RecordingAnalysis analysis = AnalyzeRecordingFile(file, false, false);
  for (const CChannel& found : analysis.channels.channels->Copy()) {
    const auto video = std::find_if(found.m_vPids.begin(), found.m_vPids.end(), [](const PidRecord& p) {
      return p.classification == PsiRenderer_StreamType_Video;
    });
    if (video == found.m_vPids.end() || found.m_vAudio.empty()) continue;
    const AudioRecord& audio = found.m_vAudio.front();
    *service = {found.m_bstrServiceName.Utf8(), found.m_nOriginalNetworkId, found.m_nServiceId,
                found.m_nTransportStreamId, video->pid, video->stream_type, audio.pid, audio.type, found.m_nPmtPid,
                audio.ac3 != 0};
    return true;
  }
  return false;
}
