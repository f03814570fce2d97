#include "InfoCommand.h"

#include <fmt/format.h>

#include "dtvhost/PluginInfo.h"

namespace {

void PrintList(const BuiltInList& list) {
  const FrequencyListSummary& s = list.summary;
  const bool satellites = !s.groups.empty() && s.groups.front().kind == "Satellite";
  fmt::print("\n{} ({}): {} {}, {} {}\n", list.tuningDataType, s.networkType, s.groups.size(),
             satellites ? "satellites" : "networks", s.TotalEntries(), satellites ? "transponders" : "frequencies");
  for (const FrequencyListGroup& g : s.groups) {
    if (g.position.empty())
      fmt::print("  {}: {}\n", g.name, g.entries);
    else
      fmt::print("  {:>6} {}: {}\n", g.position, g.name, g.entries);
  }
}

void RunInfo(const HostOptions& options) {
  PluginLibrary library(options.PluginPath());
  PluginInfo info;
  {
    const ComPtr<IKxTvPlugin> plugin = library.CreatePlugin();
    info = ReadPluginInfo(plugin.Get());
  }
  fmt::print("Plug-in: {}\nVersion: {}\n", info.name, info.version);
  for (const BuiltInList& list : info.lists) PrintList(list);
}

}  // namespace

void AddInfoCommand(CLI::App& app, const HostOptions& options) {
  app.add_subcommand("info", "Show the plug-in's name, version and built-in frequency lists")
      ->callback([&options] { RunInfo(options); });
}
