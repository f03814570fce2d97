#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

// Names of the symbols the library defines in its dynamic symbol table.
std::set<std::string> DefinedDynamicSymbols(const std::string& library) {
  const std::string command = "nm -D --defined-only '" + library + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  EXPECT_TRUE(pipe) << command;
  std::set<std::string> names;
  if (!pipe) return names;
  char line[1024];
  while (fgets(line, sizeof line, pipe.get())) {
    std::istringstream fields(line);
    std::string address, type, name;
    if (fields >> address >> type >> name) names.insert(name);
  }
  EXPECT_EQ(pclose(pipe.release()), 0) << command;
  return names;
}

TEST(ExportedSymbols, ExactlyTheTwoExports) {
  EXPECT_EQ(DefinedDynamicSymbols(DTV_PLUGIN_PATH),
            (std::set<std::string>{"CreateTvPluginInstance", "DllCanUnloadNow"}));
}

}  // namespace
