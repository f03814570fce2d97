#include "analyze/AnalyzeCommand.h"

#include "DSFilters/PsiRenderer/TransportStreamAnalyzer.h"
#include "analyze/ChannelListJson.h"
#include "analyze/ChannelListText.h"

int RunAnalyze(const AnalyzeOptions& options, std::ostream& out, std::ostream& err) {
  const TransportStreamAnalysis analysis = AnalyzeTransportStreamFile(options.path, options.atsc);
  if (!analysis.error.empty()) {
    err << "dtv analyze: " << analysis.error << '\n';
    return 1;
  }
  if (options.json)
    out << ChannelListToJson(analysis).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  else
    WriteChannelListText(out, analysis);
  return 0;
}
