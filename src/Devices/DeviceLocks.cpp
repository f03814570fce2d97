#include "Devices/DeviceLocks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
constexpr size_t kMaxLockName = 259;

struct Entry {
  std::u16string moniker;
  int fd;
};

// Closes what is still held when the process ends.
class Registry {
 public:
  ~Registry() {
    for (const Entry& e : entries) {
      ::close(e.fd);
      log(1, "Device unlocked: %s", Utf16ToUtf8(e.moniker).c_str());
    }
    entries.clear();
  }
  std::vector<Entry> entries;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::vector<Entry>::iterator FindHere(std::u16string_view moniker) {
  auto& entries = TheRegistry().entries;
  return std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.moniker == moniker; });
}

// Whether some process (this one included) holds the lock file.
bool IsHeld(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // A shared probe conflicts only with holders, never with another probe.
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

HRESULT FromErrno(int error) { return static_cast<HRESULT>(0x80070000u | (static_cast<unsigned>(error) & 0xFFFF)); }
}  // namespace

namespace DeviceLocks {
std::string LockPath(std::u16string_view moniker, LONG level) {
  std::string name = (level == 2 ? "2_" : "1_") + Utf16ToUtf8(moniker);
  std::replace(name.begin(), name.end(), '\\', '_');
  std::replace(name.begin(), name.end(), '/', '_');
  if (name.size() > kMaxLockName) name.resize(kMaxLockName);
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return std::string(runtime && *runtime ? runtime : "/tmp") + "/" + name;
}

Usage Query(std::u16string_view moniker) {
  Usage usage;
  if (IsHeld(LockPath(moniker, 2)))
    usage.level = 2;
  else if (IsHeld(LockPath(moniker, 1)))
    usage.level = 1;
  usage.inUse = usage.level != 0;
  usage.lockedHere = usage.inUse && FindHere(moniker) != TheRegistry().entries.end();
  return usage;
}

HRESULT Lock(const char* owner, BSTR moniker, LONG level) {
  if (!moniker) return E_POINTER;
  const std::u16string name(moniker, SysStringLen(moniker));
  const Usage usage = Query(name);
  if (usage.inUse && !usage.lockedHere) return E_ACCESSDENIED;
  if (usage.lockedHere) {
    if (usage.level == level) return E_ACCESSDENIED;
    Unlock(owner, moniker);
  }
  const int fd = ::open(LockPath(name, level).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return FromErrno(errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return E_ACCESSDENIED;
  }
  TheRegistry().entries.push_back({name, fd});
  log(1, "Device locked: %s; %s; %d", owner ? owner : "", Utf16ToUtf8(name).c_str(), static_cast<int>(level));
  return S_OK;
}

HRESULT Unlock(const char* owner, BSTR moniker) {
  if (!moniker) return S_OK;
  const std::u16string name(moniker, SysStringLen(moniker));
  const auto it = FindHere(name);
  if (it == TheRegistry().entries.end()) return S_OK;
  ::close(it->fd);
  TheRegistry().entries.erase(it);
  log(1, "Device unlocked: %s; %s", owner ? owner : "", Utf16ToUtf8(name).c_str());
  return S_OK;
}
}  // namespace DeviceLocks
