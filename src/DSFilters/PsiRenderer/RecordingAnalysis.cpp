#include "DSFilters/PsiRenderer/RecordingAnalysis.h"

#include <optional>

#include "DSFilters/PsiRenderer/MappedFile.h"
#include "DSFilters/PsiRenderer/RecordingReader.h"
#include "DSFilters/PsiRenderer/TransportStreamEpgReader.h"

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

RecordingAnalysis AnalyzeRecordingFile(const std::string& path, bool atsc, bool epg) {
  CMappedFile file;
  RecordingAnalysis failed;
  if (!file.Open(path, failed.channels.error)) return failed;
  CMemoryChunkSource source(file.Bytes());
  RecordingAnalysis result = AnalyzeRecording(source, atsc, epg);
  if (!result.channels.error.empty()) result.channels.error = path + ": " + result.channels.error;
  return result;
}
