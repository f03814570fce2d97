#pragma once
// The system calls on a DVB frontend device, behind an interface so tests can
// answer them with a fake frontend.
#include <string>

class FrontendIo {
 public:
  virtual ~FrontendIo() = default;
  // A descriptor, or -1 with errno set.
  virtual int Open(const std::string& path, int flags) = 0;
  virtual int Ioctl(int fd, unsigned long request, void* arg) = 0;
  virtual void Close(int fd) = 0;
};

// The frontend access in use (the system's unless a test installed another).
FrontendIo& CurrentFrontendIo();
// Installs `io` (nullptr restores the system's). Tests only.
void SetFrontendIo(FrontendIo* io);
