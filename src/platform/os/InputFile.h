#pragma once
// A recording given by the user: a regular file, a FIFO, or standard input
// ("-"). Read with read(2) in bounded chunks and never mapped, so a file that
// shrinks while it is read simply ends sooner. An input that cannot seek (a
// pipe) is copied to an unnamed temporary file as it is read, so that it can
// be read again from the start.
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
  bool Rewind() override;
  const std::string& Error() const override { return m_error; }

  // The path, or "standard input".
  const std::string& Name() const { return m_name; }
  // Whether path (through any symbolic link or hard link) is this input.
  bool IsSameFile(const std::string& path) const;

 private:
  size_t ReadInput(std::span<uint8_t> buffer);
  bool Spool(std::span<const uint8_t> bytes);
  void Fail(const std::string& what, int error);

  std::string m_name;
  std::string m_error;
  int m_fd = -1;
  bool m_bOwnsFd = false;
  dev_t m_device = 0;
  ino_t m_inode = 0;
  bool m_bSeekable = false;
  off_t m_nStart = 0;  // standard input may be handed over part-read
  // A pipe: every byte read so far, and where the reader is in it.
  int m_spoolFd = -1;
  uint64_t m_nSpooled = 0;
  uint64_t m_nPosition = 0;
};
