#include "logging/CLogFile.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/os/RegularFile.h"
#include "platform/os/SettingsKey.h"

namespace {

constexpr const char* kLogName = "VexaCaptureAPI";
constexpr const char* kStars = "********************************************\r\n";

std::string DefaultFileName() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "unnamed.log";
  return std::string(path, static_cast<size_t>(length)) + ".log";
}

constexpr uint32_t kLockWaitMs = 1000;

unsigned ProcessId() { return static_cast<unsigned>(::getpid()); }
unsigned ThreadId() { return static_cast<unsigned>(::syscall(SYS_gettid)); }

std::string LocalTime(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, format, &local));
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[128];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return length < 0 ? std::string() : std::string(text, std::min<size_t>(length, sizeof text - 1));
}

// The whole formatted message, cut after kMaxMessage characters (not bytes,
// so that no UTF-8 sequence is split).
std::string FormatMessage(const char* format, va_list args) {
  va_list probe;
  va_copy(probe, args);
  const int length = std::vsnprintf(nullptr, 0, format, probe);
  va_end(probe);
  if (length <= 0) return {};
  std::vector<char> text(static_cast<size_t>(length) + 1);
  std::vsnprintf(text.data(), text.size(), format, args);
  size_t characters = 0;
  for (size_t i = 0; i < static_cast<size_t>(length); ++i) {
    const bool starts = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (starts && ++characters > CLogFile::kMaxMessage) return std::string(text.data(), i);
  }
  return std::string(text.data(), static_cast<size_t>(length));
}

}  // namespace

CLogFile::~CLogFile() {
  if (m_file >= 0) ::close(m_file);
}

HRESULT CLogFile::Init() {
  if (m_file >= 0) return S_OK;
  const auto key = SettingsKey::OpenFirst();
  if (!key) {
    // No settings is the normal state of a new machine: no log, no noise.
    DebugOutput("LogFile: cannot read settings!");
    return S_OK;
  }
  m_level = key->GetNumber("LogLevel").value_or(1);
  m_debugOutput = key->GetNumber("DebugOutput").value_or(0) != 0;
  m_flush = key->GetNumber("Flush").value_or(0) != 0;
  if (m_level == 0) return S_OK;

  bool existed = false;
  auto lock = NamedLock::Create(kLogName, &existed);
  const bool append = key->GetNumber("AppendLog").value_or(0) != 0 || existed;
  const std::string path = key->GetString("FileName").value_or(DefaultFileName());
  // A FIFO or device as the log would block or never end: regular files only.
  m_file = OpenRegularFile(path, O_WRONLY | O_CREAT | (append ? 0 : O_TRUNC), 0644);
  if (m_file < 0 || !lock) {
    // Without the lock, writes from several users could interleave.
    std::fputs("LogFile: cannot create file!\n", stderr);
    if (m_file >= 0) ::close(m_file);
    m_file = -1;
    return S_OK;
  }
  m_lock = std::make_unique<CLogFileMutexLock>(std::move(lock));
  if (!AcquireLock()) return S_OK;
  ::lseek(m_file, 0, SEEK_END);
  WriteBanner(!existed);
  m_lock->Unlock();
  return S_OK;
}

bool CLogFile::AcquireLock() {
  const bool acquired = m_lock->TryLockFor(m_lockMissed ? 0 : kLockWaitMs);
  if (!acquired && !m_lockMissed) DebugOutput("LogFile: the log is locked by another process; lines are left out");
  m_lockMissed = !acquired;
  return acquired;
}

void CLogFile::DebugOutput(const char* text) const {
  if (m_debugOutput) std::fprintf(stderr, "%s\n", text);
}

void CLogFile::WriteBanner(bool firstUser) {
  if (firstUser) {
    WritePiece("\r\n\r\n");
    WritePiece(kStars);
    WritePiece(Format("*     Log created: %10s              *\r\n", LocalTime("%d.%m.%Y").c_str()));
    WritePiece(Format("*     ProcessId:   0x%04x                  *\r\n", ProcessId()));
    WritePiece(Format("*     ThreadId:    0x%04x                  *\r\n", ThreadId()));
  } else {
    WritePiece(kStars);
    WritePiece(Format("*     ProcessId: 0x%04x                    *\r\n", ProcessId()));
    WritePiece(Format("*     ThreadId:  0x%04x                    *\r\n", ThreadId()));
  }
  WritePiece(kStars);
}

void CLogFile::WritePiece(std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(m_file, text.data(), text.size());
    if (written <= 0) return;  // the log never fails its caller
    text.remove_prefix(static_cast<size_t>(written));
  }
  if (m_flush) ::fdatasync(m_file);
}

void CLogFile::Flush() {
  if (m_file >= 0) ::fdatasync(m_file);
}

void CLogFile::Write(int level, const char* format, va_list args) {
  // A negative level never passes the unsigned threshold.
  if (m_file < 0 || m_level < static_cast<uint32_t>(level)) return;
  const std::string message = FormatMessage(format, args);
  if (!AcquireLock()) return;
  ::lseek(m_file, 0, SEEK_END);
  WritePiece(LocalTime("%H:%M:%S") + " ");
  WritePiece(Format("[0x%04x 0x%04x] ", ProcessId(), ThreadId()));
  WritePiece(Format("[Level %d]: ", level));
  WritePiece(message);
  WritePiece("\r\n");
  DebugOutput(message.c_str());
  m_lock->Unlock();
}
