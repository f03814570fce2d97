#pragma once
// The offline analysis of a recording in one pass: channels and, when asked
// for, the programme guide, from the same read of the bytes.
#include <memory>
#include <string>

#include "DSFilters/PsiRenderer/engine/EpgEvents.h"
#include "DSFilters/PsiRenderer/engine/TransportStreamAnalyzer.h"
#include "psi/ts/ChunkSource.h"

struct RecordingAnalysis {
  TransportStreamAnalysis channels;
  std::shared_ptr<CEpgEvents> events;  // null unless the guide was asked for
};

// From chunks of whole 188-byte packets.
RecordingAnalysis AnalyzeRecording(IChunkSource& source, bool atsc, bool epg);
// From the packets a reader finds in a recording as it comes (any packet
// size, damage skipped and told in the warnings).
RecordingAnalysis AnalyzeRecording(CTsPacketReader& packets, bool atsc, bool epg);
// Reads a file ("-": standard input); channels.error tells why it could not be read.
RecordingAnalysis AnalyzeRecordingFile(const std::string& path, bool atsc, bool epg);
