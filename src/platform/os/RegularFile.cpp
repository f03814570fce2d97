#include "platform/os/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};
}  // namespace

int OpenRegularFile(const std::string& path, int flags, mode_t mode) {
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
  if (fd < 0) return -1;
  struct stat info {};
  const int error = ::fstat(fd, &info) != 0 ? errno : S_ISREG(info.st_mode) ? 0 : EINVAL;
  if (error != 0) {
    ::close(fd);
    errno = error;
    return -1;
  }
  // Regular files never block; later reads should see the normal mode.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::string SizeText(size_t bytes) {
  if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MB";
  if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KB";
  return std::to_string(bytes) + " bytes";
}

std::optional<std::string> ReadRegularFile(const std::string& path, size_t maxBytes, std::string& error) {
  Descriptor file{OpenRegularFile(path)};
  if (file.fd < 0) {
    error = errno == EINVAL ? "not a regular file" : std::strerror(errno);
    return std::nullopt;
  }
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = std::strerror(errno);
      return std::nullopt;
    }
    if (n == 0) return content;
    if (content.size() + static_cast<size_t>(n) > maxBytes) {
      error = "larger than " + SizeText(maxBytes);
      return std::nullopt;
    }
    content.append(buffer, static_cast<size_t>(n));
  }
}
