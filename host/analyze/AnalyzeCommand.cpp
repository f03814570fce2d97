#include "analyze/AnalyzeCommand.h"

#include "DSFilters/PsiRenderer/TransportStreamAnalyzer.h"
#include "analyze/ChannelListJson.h"
#include "analyze/ChannelListText.h"
#include "analyze/EpgOutput.h"
#include "DSFilters/PsiRenderer/MappedFile.h"
#include "DSFilters/PsiRenderer/TransportStreamEpgReader.h"

namespace {
std::shared_ptr<CEpgEvents> ReadEpg(const AnalyzeOptions& options, std::string& error) {
  CMappedFile file;
  if (!file.Open(options.path, error)) return nullptr;
  return CTransportStreamEpgReader(options.atsc).Read(file.Bytes());
}
}  // namespace

int RunAnalyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err) {
  const TransportStreamAnalysis analysis = AnalyzeTransportStreamFile(options.path, options.atsc);
  if (!analysis.error.empty()) {
    err << "dtv analyze: " << analysis.error << '\n';
    return 1;
  }
  std::shared_ptr<CEpgEvents> events;
  if (options.epg) {
    std::string error;
    events = ReadEpg(options, error);
    if (!events) {
      err << "dtv analyze: " << options.path << ": " << error << '\n';
      return 1;
    }
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
