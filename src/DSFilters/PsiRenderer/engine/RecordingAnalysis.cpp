#include "DSFilters/PsiRenderer/engine/RecordingAnalysis.h"

#include <optional>

#include "DSFilters/PsiRenderer/engine/RecordingReader.h"
#include "DSFilters/PsiRenderer/engine/TransportStreamEpgReader.h"
#include "platform/os/InputFile.h"

RecordingAnalysis AnalyzeRecording(IChunkSource& source, bool atsc, bool epg) {
  CRecordingReader reader;
  CTransportStreamAnalyzer channels(atsc);
  std::optional<CTransportStreamEpgReader> guide;
  reader.Add(channels);
  if (epg) reader.Add(guide.emplace(atsc));
  reader.Read(source);
  RecordingAnalysis result{channels.Finish(reader), nullptr};
  if (guide) result.events = guide->Finish();
  return result;
}

RecordingAnalysis AnalyzeRecording(CTsPacketReader& packets, bool atsc, bool epg) {
  RecordingAnalysis result = AnalyzeRecording(static_cast<IChunkSource&>(packets), atsc, epg);
  AddReadingOutcome(packets, result.channels);
  return result;
}

RecordingAnalysis AnalyzeRecordingFile(const std::string& path, bool atsc, bool epg) {
  CInputFile file;
  RecordingAnalysis failed;
  if (!file.Open(path)) {
    failed.channels.error = file.Error();
    return failed;
  }
  CTsPacketReader packets(file);
  RecordingAnalysis result = AnalyzeRecording(packets, atsc, epg);
  // The input's own errors name it already.
  if (!result.channels.error.empty() && file.Error().empty()) result.channels.error = path + ": " + result.channels.error;
  return result;
}
