#include "Devices/DeviceLocks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "logging/LogFile.h"
#include "platform/com/Utf.h"

namespace {
constexpr size_t kMaxLockName = 259;

struct Entry {
  std::u16string moniker;
  int fd;
};

// Closes what is still held when the process ends. Graph managers lock and
// unlock from their own threads: every use holds the mutex.
class Registry {
 public:
  ~Registry() {
    for (const Entry& e : entries) {
      ::close(e.fd);
      log(1, "Device unlocked: %s", Utf16ToUtf8(e.moniker).c_str());
    }
    entries.clear();
  }
  std::mutex mutex;
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

// A directory every user can create lock files in: made sticky and
// world-writable (1777) when missing; an existing one must be a real
// directory (not a link) that this user can write.
bool UsableSharedDirectory(const std::string& dir) {
  if (::mkdir(dir.c_str(), 01777) == 0) {
    ::chmod(dir.c_str(), 01777);  // the umask took bits away
  } else if (errno != EEXIST) {
    return false;
  }
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (st.st_uid == ::geteuid() && (st.st_mode & 07777) != 01777) ::chmod(dir.c_str(), 01777);
  return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string RuntimeDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime && *runtime ? runtime : "/tmp";
}

// Whether some process (this one included) holds the lock file.
bool IsHeld(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  // A shared probe conflicts only with holders, never with another probe.
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

HRESULT FromErrno(int error) { return static_cast<HRESULT>(0x80070000u | (static_cast<unsigned>(error) & 0xFFFF)); }
}  // namespace

namespace DeviceLocks {
std::string LockDirectory() {
  if (const char* configured = std::getenv("DTV_LOCK_DIR"); configured && *configured == '/') {
    if (UsableSharedDirectory(configured)) return configured;
    return RuntimeDirectory();
  }
  for (const char* dir : {"/run/lock/vexa", "/var/lock/vexa"})
    if (UsableSharedDirectory(dir)) return dir;
  return RuntimeDirectory();
}

std::string LockPath(std::u16string_view moniker, LONG level) {
  std::string name = (level == 2 ? "2_" : "1_") + Utf16ToUtf8(moniker);
  std::replace(name.begin(), name.end(), '\\', '_');
  std::replace(name.begin(), name.end(), '/', '_');
  if (name.size() > kMaxLockName) name.resize(kMaxLockName);
  return LockDirectory() + "/" + name;
}

namespace {
Usage QueryHeld(std::u16string_view moniker) {
  Usage usage;
  if (IsHeld(LockPath(moniker, 2)))
    usage.level = 2;
  else if (IsHeld(LockPath(moniker, 1)))
    usage.level = 1;
  usage.inUse = usage.level != 0;
  usage.lockedHere = usage.inUse && FindHere(moniker) != TheRegistry().entries.end();
  return usage;
}

void UnlockHeld(const char* owner, const std::u16string& name) {
  const auto it = FindHere(name);
  if (it == TheRegistry().entries.end()) return;
  ::close(it->fd);
  TheRegistry().entries.erase(it);
  log(1, "Device unlocked: %s; %s", owner ? owner : "", Utf16ToUtf8(name).c_str());
}
}  // namespace

Usage Query(std::u16string_view moniker) {
  std::lock_guard lock(TheRegistry().mutex);
  return QueryHeld(moniker);
}

HRESULT Lock(const char* owner, BSTR moniker, LONG level) {
  if (!moniker) return E_POINTER;
  const std::u16string name(moniker, SysStringLen(moniker));
  std::lock_guard lock(TheRegistry().mutex);
  const Usage usage = QueryHeld(name);
  if (usage.inUse && !usage.lockedHere) return E_ACCESSDENIED;
  if (usage.lockedHere) {
    if (usage.level == level) return E_ACCESSDENIED;
    UnlockHeld(owner, name);
  }
  // Readable by all, so that every user's processes can see it held; read
  // access is all flock needs.
  const int fd = ::open(LockPath(name, level).c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return errno == EACCES ? E_ACCESSDENIED : FromErrno(errno);
  ::fchmod(fd, 0644);  // fails harmlessly on another user's file
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
  std::lock_guard lock(TheRegistry().mutex);
  UnlockHeld(owner, name);
  return S_OK;
}
}  // namespace DeviceLocks
