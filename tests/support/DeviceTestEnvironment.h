#pragma once
// Points the device-type cache ($TMPDIR) and the device locks
// ($XDG_RUNTIME_DIR) of one test at a fresh directory.
#include <cstdlib>
#include <string>

#include "support/TempDir.h"

class DeviceTestEnvironment {
 public:
  DeviceTestEnvironment() : m_tmp(Save("TMPDIR")), m_runtime(Save("XDG_RUNTIME_DIR")) {
    ::setenv("TMPDIR", dir.Path().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
  }
  ~DeviceTestEnvironment() {
    Restore("TMPDIR", m_tmp);
    Restore("XDG_RUNTIME_DIR", m_runtime);
  }

  TempDir dir;

 private:
  struct Saved {
    bool set;
    std::string value;
  };
  static Saved Save(const char* name) {
    const char* v = std::getenv(name);
    return {v != nullptr, v ? v : ""};
  }
  static void Restore(const char* name, const Saved& saved) {
    if (saved.set)
      ::setenv(name, saved.value.c_str(), 1);
    else
      ::unsetenv(name);
  }
  Saved m_tmp, m_runtime;
};
