#pragma once
// A buffered output stream buffer over a file descriptor that keeps the reason
// of the first failed write, so that a full disk or a closed pipe is reported
// as what it is instead of passing for success.
#include <array>
#include <streambuf>

class CFdStreamBuf : public std::streambuf {
 public:
  explicit CFdStreamBuf(int fd) : m_fd(fd) { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }
  CFdStreamBuf(const CFdStreamBuf&) = delete;
  CFdStreamBuf& operator=(const CFdStreamBuf&) = delete;

  // Writes what is buffered and closes the descriptor; false when any write
  // or the close failed, with the reason in Error().
  bool Close();
  // The errno of the first failure, 0 while there was none.
  int Error() const { return m_nError; }
  int Descriptor() const { return m_fd; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool Drain();

  int m_fd;
  int m_nError = 0;
  std::array<char, 1 << 16> m_buffer;
};
