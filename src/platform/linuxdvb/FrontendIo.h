#pragma once
// The system calls on DVB devices (frontend, demux, dvr), behind an interface
// so tests can answer them with a fake frontend.
#include <poll.h>
#include <sys/types.h>

#include <string>

class FrontendIo {
 public:
  virtual ~FrontendIo() = default;
  // A descriptor, or -1 with errno set.
  virtual int Open(const std::string& path, int flags) = 0;
  virtual int Ioctl(int fd, unsigned long request, void* arg) = 0;
  virtual void Close(int fd) = 0;
  virtual ssize_t Read(int fd, void* buffer, size_t size) = 0;
  virtual int Poll(pollfd* fds, nfds_t count, int timeoutMs) = 0;
};

// The frontend access in use (the system's unless a test installed another).
FrontendIo& CurrentFrontendIo();
// Installs `io` (nullptr restores the system's). Tests only.
void SetFrontendIo(FrontendIo* io);
