#pragma once
// Locates the shared broadcast test data. A test that needs it skips with a
// visible reason when it is absent, and fails instead when CI=true.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testdata {

inline std::filesystem::path SharedDir() {
  if (const char* dir = std::getenv("DTV_SHARED_DIR")) return dir;
  return DTV_SHARED_DIR;
}

inline std::filesystem::path File(const std::string& name) { return SharedDir() / "testdata" / name; }

inline bool InCi() {
  const char* ci = std::getenv("CI");
  return ci && std::string(ci) == "true";
}

}  // namespace testdata

// Use at the top of a test: binds `var` to the shared file or skips/fails.
#define REQUIRE_SHARED_FILE(var, name)                                               \
  const std::filesystem::path var = testdata::File(name);                            \
  if (!std::filesystem::exists(var)) {                                               \
    if (testdata::InCi()) FAIL() << "missing shared test data: " << var;             \
    GTEST_SKIP() << "shared test data not found: " << var;                           \
  }
