#include "InfoCommand.h"

#include <fmt/format.h>

#include <memory>

#include "dtvhost/PluginInfo.h"

namespace {

void PrintList(const BuiltInList& list, bool groups) {
  const FrequencyListSummary& s = list.summary;
  const bool satellites = !s.groups.empty() && s.groups.front().kind == "Satellite";
  fmt::print("{}{} ({}): {} {}, {} {}\n", groups ? "\n" : "", list.tuningDataType, s.networkType, s.groups.size(),
             satellites ? "satellites" : "networks", s.TotalEntries(), satellites ? "transponders" : "frequencies");
  if (!groups) return;
  for (const FrequencyListGroup& g : s.groups) {
    if (g.position.empty())
      fmt::print("  {}: {}\n", g.name, g.entries);
    else
      fmt::print("  {:>6} {}: {}\n", g.position, g.name, g.entries);
  }
}

void RunInfo(const HostOptions& options, bool groups) {
  PluginLibrary library(options.PluginPath());
  PluginInfo info;
  {
    const ComPtr<IKxTvPlugin> plugin = library.CreatePlugin();
    info = ReadPluginInfo(plugin.Get());
  }
  fmt::print("Plug-in: {}\nVersion: {}\n", info.name, info.version);
  if (!groups) fmt::print("Built-in frequency lists (--lists shows each satellite and network):\n");
  for (const BuiltInList& list : info.lists) PrintList(list, groups);
}

}  // namespace

void AddInfoCommand(CLI::App& app, const HostOptions& options) {
  auto* command = app.add_subcommand("info", "Show the plug-in's name, version and built-in frequency lists");
  auto groups = std::make_shared<bool>(false);
  command->add_flag("--lists", *groups, "Show every satellite and network of the built-in lists");
  command->callback([&options, groups] { RunInfo(options, *groups); });
}
