#include "analyze/AnalyzeCommand.h"

#include "DSFilters/PsiRenderer/RecordingAnalysis.h"
#include "analyze/ChannelListJson.h"
#include "analyze/ChannelListText.h"
#include "analyze/EpgOutput.h"

int RunAnalyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err) {
  // Channels and guide from one read of the file.
  const RecordingAnalysis recording = AnalyzeRecordingFile(options.path, options.atsc, options.epg);
  const TransportStreamAnalysis& analysis = recording.channels;
  if (!analysis.error.empty()) {
    err << "dtv analyze: " << analysis.error << '\n';
    return 1;
  }
  const std::shared_ptr<CEpgEvents>& events = recording.events;
  if (events) {
    std::string error;
    if (const size_t dropped = events->DroppedCount())
      err << "dtv analyze: " << options.path << ": " << dropped << " events beyond the limit of "
          << CEpgEvents::kMaxEvents << " were not kept\n";
    if (!options.xmltv.empty() && !WriteXmltv(*events, *analysis.channels, options.xmltv, error)) {
      err << "dtv analyze: " << error << '\n';
      return 1;
    }
  }
  if (options.json) {
    nlohmann::ordered_json json = ChannelListToJson(analysis);
    if (events) json["events"] = EpgEventsToJson(*events);
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  } else {
    WriteChannelListText(out, analysis);
    if (events) {
      out << '\n';
      PrintEpgText(*events, *analysis.channels, out);
    }
  }
  return 0;
}
