#include "platform/linuxdvb/FrontendIo.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>

namespace {
class SystemFrontendIo final : public FrontendIo {
 public:
  int Open(const std::string& path, int flags) override { return ::open(path.c_str(), flags | O_CLOEXEC); }
  int Ioctl(int fd, unsigned long request, void* arg) override { return ::ioctl(fd, request, arg); }
  void Close(int fd) override { ::close(fd); }
  ssize_t Read(int fd, void* buffer, size_t size) override { return ::read(fd, buffer, size); }
  int Poll(pollfd* fds, nfds_t count, int timeoutMs) override { return ::poll(fds, count, timeoutMs); }
};

SystemFrontendIo g_systemIo;
std::atomic<FrontendIo*> g_io{&g_systemIo};
}  // namespace

FrontendIo& CurrentFrontendIo() { return *g_io.load(); }

void SetFrontendIo(FrontendIo* io) { g_io.store(io ? io : &g_systemIo); }
