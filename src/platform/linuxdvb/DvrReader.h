#pragma once
// The transport stream of a Linux DVB adapter: a demux filter passing every
// PID to the dvr device, read with a poll that Wake interrupts at once.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/linuxdvb/FrontendIo.h"

class DvrReader {
 public:
  enum class Result { Data, Nothing, End, Error };

  explicit DvrReader(FrontendIo& io);
  DvrReader(const DvrReader&) = delete;
  DvrReader& operator=(const DvrReader&) = delete;
  ~DvrReader();

  // Sets the full-TS filter on `demuxPath` and opens `dvrPath`; false with
  // `error` set.
  bool Open(const std::string& demuxPath, const std::string& dvrPath, std::string& error);
  void Close();
  // Blocks until data, Wake or the end: Data with `size` set, Nothing when
  // woken or nothing could be read yet (an overflow is counted, logged and
  // skipped), End when the device has no more, Error with `error` set.
  Result Read(uint8_t* buffer, size_t capacity, size_t& size, std::string& error);
  // Ends a Read in progress (from another thread).
  void Wake();
  uint64_t Overflows() const { return m_overflows.load(); }

 private:
  FrontendIo& m_io;
  int m_demux = -1;
  int m_dvr = -1;
  int m_wake = -1;  // an eventfd
  std::atomic<uint64_t> m_overflows{0};
};
