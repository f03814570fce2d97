#include "channels/ChannelLookup.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <vector>


#include "channels/ChannelProperties.h"
#include "dtvhost/NameMatch.h"

std::optional<size_t> FindChannel(const ChannelList& channels, const std::string& text, const std::string& file,
                                  std::string& error) {
  if (const std::optional<size_t> number = ListNumber(text)) {
    if (*number >= 1 && *number <= channels.size()) return *number - 1;
    error = fmt::format("no channel {} in {}: it holds {} channels", text, file, channels.size());
    return std::nullopt;
  }
  std::vector<std::string> names;
  for (const ComPtr<IKxChannel>& channel : channels) names.push_back(TextOf(channel.Get(), &IKxChannel::get_Title));
  const std::vector<size_t> matches = MatchingNames(names, text);
  if (matches.size() == 1) return matches.front();
  if (matches.empty())
    error = fmt::format("no channel '{}' in {}; 'dtv channels' lists them", text, file);
  else
    error = fmt::format("'{}' names {} channels ({}); give the number", text, matches.size(),
                        fmt::join(NumbersOf(matches), ", "));
  return std::nullopt;
}
