#include "channels/ChannelTable.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <vector>

#include "channels/ChannelProperties.h"
#include "channels/DeliverySystem.h"
#include "platform/com/Utf.h"
#include "psi/text/SafeText.h"

namespace {
constexpr size_t kColumns = 7;
using Row = std::array<std::string, kColumns>;

std::string Safe(const std::string& text) { return text.empty() ? "-" : SafeUtf8(Utf8ToUtf16(text), TextUse::Line); }

std::string FrequencyText(LONG khz) {
  if (khz <= 0) return "-";
  return khz % 1000 == 0 ? fmt::format("{} MHz", khz / 1000) : fmt::format("{:.3f} MHz", khz / 1000.0);
}

// What the channel carries, by the kinds of its PIDs.
std::string KindText(IKxChannel* channel) {
  bool video = false, audio = false;
  LONG count = 0;
  if (SUCCEEDED(channel->get_PidInfoCount(&count)))
    for (LONG i = 0; i < count; ++i) {
      ComPtr<IKxPidInfo> info;
      LONG kind = 0;
      if (FAILED(channel->get_PidInfoByIndex(i, info.Put())) || FAILED(info->get_StreamType(&kind))) continue;
      video |= kind == KxPidKind_Video;
      audio |= kind == KxPidKind_Audio;
    }
  if (video) return audio ? "video+audio" : "video";
  return audio ? "audio" : "-";
}

Row RowOf(size_t index, IKxChannel* channel) {
  return {std::to_string(index + 1),
          Safe(TextOf(channel, &IKxChannel::get_Title)),
          Safe(TextOf(channel, &IKxChannel::get_ServiceProvider)),
          DeliverySystemName(NetworkTypeOfChannel(LongOf(channel, &IKxChannel::get_Type))),
          FrequencyText(LongOf(channel, &IKxChannel::get_CarrierFrequency)),
          KindText(channel),
          ScrambledOf(channel) ? "yes" : "no"};
}

// Columns are as wide as their widest cell, counted in characters.
size_t Width(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}
}  // namespace

void WriteChannelTable(std::ostream& out, const ChannelList& channels) {
  if (channels.empty()) {
    out << "No channels stored.\n";
    return;
  }
  std::vector<Row> rows{{"#", "name", "provider", "system", "frequency", "streams", "scrambled"}};
  for (size_t i = 0; i < channels.size(); ++i) rows.push_back(RowOf(i, channels[i].Get()));
  std::array<size_t, kColumns> widths{};
  for (const Row& row : rows)
    for (size_t c = 0; c < kColumns; ++c) widths[c] = std::max(widths[c], Width(row[c]));
  for (const Row& row : rows) {
    std::string line;
    for (size_t c = 0; c < kColumns; ++c) {
      const bool last = c + 1 == kColumns;
      // Numbers align to the right, text to the left.
      if (c == 0) line += std::string(widths[c] - Width(row[c]), ' ') + row[c];
      else line += row[c] + (last ? "" : std::string(widths[c] - Width(row[c]), ' '));
      if (!last) line += "  ";
    }
    out << line << '\n';
  }
}
