#pragma once
// A recording given by the user: a regular file, a FIFO, or standard input
// ("-"). Read with read(2) in bounded chunks and never mapped, so a file that
// shrinks while it is read simply ends sooner. It is read once, front to
// back, so a pipe needs no copy.
#include <sys/types.h>

#include <cstdint>
#include <span>
#include <string>

#include "psi/ts/ByteSource.h"

class CInputFile : public IByteSource {
 public:
  CInputFile() = default;
  CInputFile(const CInputFile&) = delete;
  CInputFile& operator=(const CInputFile&) = delete;
  ~CInputFile() override;

  // "-" is standard input. false with Error() set when the input cannot be read.
  bool Open(const std::string& path);

  size_t Read(std::span<uint8_t> buffer) override;
  const std::string& Error() const override { return m_error; }

  // The path, or "standard input".
  const std::string& Name() const { return m_name; }
  // Whether path (through any symbolic link or hard link) is this input.
  bool IsSameFile(const std::string& path) const;

 private:
  void Fail(const std::string& what, int error);

  std::string m_name;
  std::string m_error;
  int m_fd = -1;
  bool m_bOwnsFd = false;
  dev_t m_device = 0;
  ino_t m_inode = 0;
};
