#include "analyze/AnalyzeCommand.h"

#include "DSFilters/PsiRenderer/engine/RecordingAnalysis.h"
#include "analyze/ChannelListJson.h"
#include "analyze/ChannelListText.h"
#include "analyze/EpgOutput.h"
#include "platform/os/InputFile.h"

namespace {
// Errors of the input name it already; the others are about its content.
std::string InputError(const CInputFile& input, const std::string& error) {
  return input.Error().empty() ? input.Name() + ": " + error : error;
}
}  // namespace

int RunAnalyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err) {
  CInputFile input;
  if (!input.Open(options.path)) {
    err << "dtv analyze: " << input.Error() << '\n';
    return 1;
  }
  for (const std::string& output : {options.xmltv, options.saveChannels})
    if (!output.empty() && input.IsSameFile(output)) {
      err << "dtv analyze: cannot write " << output << ": it is the input\n";
      return 1;
    }
  // Channels and guide from one read of the input.
  CTsPacketReader packets(input);
  const RecordingAnalysis recording = AnalyzeRecording(packets, options.atsc, options.epg);
  const TransportStreamAnalysis& analysis = recording.channels;
  for (const std::string& warning : analysis.warnings) err << "dtv analyze: " << input.Name() << ": " << warning << '\n';
  if (!analysis.error.empty()) {
    err << "dtv analyze: " << InputError(input, analysis.error) << '\n';
    return 1;
  }
  if (!options.saveChannels.empty() && options.channelListWriter) {
    std::string error;
    if (!options.channelListWriter(analysis, options.saveChannels, error)) {
      err << "dtv analyze: " << error << '\n';
      return 1;
    }
  }
  const std::shared_ptr<CEpgEvents>& events = recording.events;
  if (events) {
    std::string error;
    if (const size_t dropped = events->DroppedCount())
      err << "dtv analyze: " << input.Name() << ": " << dropped << " events beyond the limit of "
          << CEpgEvents::kMaxEvents << " were not kept\n";
    if (!options.xmltv.empty() && !WriteXmltv(*events, *analysis.channels, options.xmltv, error)) {
      err << "dtv analyze: " << error << '\n';
      return 1;
    }
  }
  if (options.json) {
    nlohmann::ordered_json json = ChannelListToJson(analysis);
    if (events) json["events"] = EpgEventsToJson(*events);
    out << JsonText(json) << '\n';
  } else {
    WriteChannelListText(out, analysis);
    if (events) {
      out << '\n';
      PrintEpgText(*events, *analysis.channels, out);
    }
  }
  return 0;
}
