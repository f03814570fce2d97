#pragma once
// One PID of a channel as the channel stores it.
#include <map>
#include <string>

#include "platform/com/Types.h"

// The channel's own numbering, which differs from the kinds the PID
// information objects report.
enum class PidRecordKind : LONG { Other = 0, Pmt = 1, Audio = 2, Teletext = 3, Video = 4 };

struct ChannelPidRecord {
  LONG pid = 0;
  LONG streamType = 0;
  PidRecordKind kind = PidRecordKind::Other;
  std::u16string language;
  bool ac3 = false;
  LONG teletextType = 0;
  LONG magazineNumber = 0;
  LONG pageNumber = 0;

  friend bool operator==(const ChannelPidRecord&, const ChannelPidRecord&) = default;
};

// Keyed and ordered by PID: adding a PID again replaces its record.
using PidRecordMap = std::map<LONG, ChannelPidRecord>;
