#pragma once
// The sink's worker: passes the ring's content to the host callback until
// asked to stop. Started with the sink, stopped and joined at its end.
#include <functional>

#include "threads/KxComThreadEx.h"

class CTransportStreamSinkThread : public CKxComThreadEx {
 public:
  // `pass` is one pass of the loop; it sleeps itself when there is nothing to do.
  explicit CTransportStreamSinkThread(std::function<void()> pass) : m_pass(std::move(pass)) {}
  ~CTransportStreamSinkThread() override { Stop(); }

  // Asks the loop to end and waits for it, without time-out.
  void Stop();

 protected:
  void Run() override;

 private:
  std::function<void()> m_pass;
};
