#include "platform/os/UserDirectories.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {
std::string HomeDirectory() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "";
}
}  // namespace

std::string UserCacheDirectory() {
  std::string dir;
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/') {
    dir = cache;
  } else {
    const std::string home = HomeDirectory();
    if (home.empty()) return "";
    dir = home + "/.cache";
  }
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return "";
  return dir;
}

std::string UserDataDirectory() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') return data;
  const std::string home = HomeDirectory();
  return home.empty() ? "" : home + "/.local/share";
}
