#pragma once
// The process-wide log file behind log() and traceFailure().
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "logging/LogFileLock.h"
#include "platform/com/Types.h"

class CLogFile {
 public:
  // Longest message in characters; a longer one is cut there.
  static constexpr size_t kMaxMessage = 8191;

  // Empty: no file, level 0, until Init.
  CLogFile() = default;
  CLogFile(const CLogFile&) = delete;
  CLogFile& operator=(const CLogFile&) = delete;
  ~CLogFile();

  HRESULT Init();
  void Write(int level, const char* format, va_list args);
  void Flush();

 private:
  void WritePiece(std::string_view text);
  void WriteBanner(bool firstUser);
  // The log lock, waited for with a bound: a writer in another process that
  // hangs holding it must not hang us. After one miss, later lines do not
  // wait until the lock is had again.
  bool AcquireLock();
  void DebugOutput(const char* text) const;

  uint32_t m_level = 0;
  bool m_debugOutput = false;
  bool m_flush = false;
  int m_file = -1;
  std::atomic<bool> m_lockMissed{false};  // read by writers before they have the lock
  std::unique_ptr<CLogFileBaseLock> m_lock;
};
