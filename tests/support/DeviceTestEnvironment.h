#pragma once
// Points the device-type cache ($XDG_CACHE_HOME, $TMPDIR) and the device
// locks ($DTV_LOCK_DIR, $XDG_RUNTIME_DIR) of one test at a fresh directory.
#include <cstdlib>
#include <string>

#include "support/TempDir.h"

class DeviceTestEnvironment {
 public:
  DeviceTestEnvironment()
      : m_tmp(Save("TMPDIR")), m_runtime(Save("XDG_RUNTIME_DIR")), m_cache(Save("XDG_CACHE_HOME")),
        m_locks(Save("DTV_LOCK_DIR")) {
    for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) ::setenv(name, dir.Path().c_str(), 1);
    ::setenv("DTV_LOCK_DIR", (dir / "locks").c_str(), 1);
  }
  ~DeviceTestEnvironment() {
    Restore("TMPDIR", m_tmp);
    Restore("XDG_RUNTIME_DIR", m_runtime);
    Restore("XDG_CACHE_HOME", m_cache);
    Restore("DTV_LOCK_DIR", m_locks);
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
  Saved m_tmp, m_runtime, m_cache, m_locks;
};
