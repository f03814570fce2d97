#pragma once
// The thread a graph is built on. It runs the build, hands back its result
// and, after a successful build, lives on with the graph until it is told
// to quit. A caller that stops waiting lets the thread go: the thread keeps
// what its build holds and its late result is dropped.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "platform/com/Types.h"

class CGraphBuildThread {
 public:
  using Build = std::function<HRESULT()>;

  CGraphBuildThread() = default;
  CGraphBuildThread(const CGraphBuildThread&) = delete;
  CGraphBuildThread& operator=(const CGraphBuildThread&) = delete;
  // Quits the thread, waiting for it without limit.
  ~CGraphBuildThread();

  // Starts the thread on `build`; false when no thread could be made. A
  // build that succeeds in time is released (with whatever it holds) before
  // its result is handed back; any other is released when the thread ends.
  bool Start(Build build);
  // The build's result, or nothing when it did not come within `timeoutMs`;
  // then the thread has been let go.
  std::optional<HRESULT> WaitForResult(uint32_t timeoutMs);
  // Posts the quit message; true when the thread ended within `timeoutMs`,
  // else it has been let go.
  bool Quit(uint32_t timeoutMs);
  bool IsRunning() const { return m_thread.joinable(); }

 private:
  struct Shared;
  void LetGo();

  std::shared_ptr<Shared> m_shared;
  std::thread m_thread;
};
