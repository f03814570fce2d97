#pragma once
// What a plug-in tells about itself: name, version and its built-in lists.
#include <string>
#include <vector>

#include "dtvhost/FrequencyListSummary.h"
#include "interfaces/IKxTvPlugin.h"

// The tuning data types whose built-in lists a plug-in serves.
inline constexpr const char* kBuiltInTuningDataTypes[] = {"KxTuningDataType_Dvbs", "KxTuningDataType_Dvbc",
                                                          "KxTuningDataType_Dvbt"};

struct BuiltInList {
  std::string tuningDataType;
  FrequencyListSummary summary;
};

struct PluginInfo {
  std::string name;
  LONG version = 0;
  std::vector<BuiltInList> lists;
};

// Asks the plug-in; HostError on a failing call.
PluginInfo ReadPluginInfo(IKxTvPlugin* plugin);
