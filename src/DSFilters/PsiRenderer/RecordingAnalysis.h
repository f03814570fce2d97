#pragma once
// The offline analysis of a recording in one pass: channels and, when asked
// for, the programme guide, from the same read of the bytes.
#include <memory>
#include <string>

#include "DSFilters/PsiRenderer/EpgEvents.h"
#include "DSFilters/PsiRenderer/TransportStreamAnalyzer.h"
#include "psi/ts/ChunkSource.h"

struct RecordingAnalysis {
  TransportStreamAnalysis channels;
  std::shared_ptr<CEpgEvents> events;  // null unless the guide was asked for
};

RecordingAnalysis AnalyzeRecording(IChunkSource& source, bool atsc, bool epg);
// Maps a file and analyses it; channels.error tells why a file could not be read.
RecordingAnalysis AnalyzeRecordingFile(const std::string& path, bool atsc, bool epg);
