#pragma once
// A reader of recorded sections (channels, guide): it asks its source for
// the PIDs it needs and is handed every section of them, on the reading thread.
#include <cstdint>

class ISectionPids {
 public:
  virtual void AddPid(uint16_t pid) = 0;

 protected:
  ~ISectionPids() = default;
};

class ISectionCollector {
 public:
  virtual ~ISectionCollector() = default;
  // Called once before the first section, with the source's PID registry.
  virtual void Attach(ISectionPids& pids) = 0;
  // One valid section of a PID some collector asked for.
  virtual void OnSection(const uint8_t* data, uint32_t length, uint16_t pid, uint8_t tableId) = 0;
  // A PID nobody asked for starts a section with this table_id: true to read
  // that PID from now on (tables whose PID another table names).
  virtual bool WantsUnknownPid(uint8_t tableId) const { return false; }
};
