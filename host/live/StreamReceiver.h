#pragma once
// The host's transport stream sink callback: writes whole packets, keeps
// stream time, and says when the wanted duration is there or the output failed.
#include <atomic>
#include <mutex>
#include <optional>

#include "interfaces/IKxTransportStreamSink.h"
#include "live/PacketWriter.h"
#include "live/StreamClock.h"
#include "platform/com/ComObject.h"
#include "platform/sync/Event.h"

class CStreamReceiver : public ITransportStreamSinkCallback {
 public:
  using InterfaceMap = ::InterfaceMap<ITransportStreamSinkCallback>;
  // `seconds` of stream time, or for ever.
  CStreamReceiver(int fd, std::string name, std::optional<double> seconds);
  virtual ~CStreamReceiver() = default;

  HRESULT OnData(const uint8_t* data, LONG size) override;
  HRESULT OnStopDeliver() override { return S_OK; }
  HRESULT OnStartDeliver() override { return S_OK; }

  // Set when the duration is reached or a write failed; nothing is written after.
  Event& Done() { return m_done; }
  uint64_t BytesWritten() const;
  double StreamSeconds() const;
  bool HasStreamTime() const;
  std::string Error() const;

 private:
  mutable std::mutex m_mutex;
  PacketWriter m_writer;
  StreamClock m_clock;
  const std::optional<double> m_seconds;
  Event m_done;
};
