#include "GraphManager/GraphBuildThread.h"

#include <atomic>
#include <system_error>

#include "GraphManager/HelperWindowWithThread.h"
#include "logging/LogFile.h"
#include "platform/sync/Event.h"

struct CGraphBuildThread::Shared {
  Event done{Event::Reset::Manual};
  Event quit{Event::Reset::Manual};
  Event ended{Event::Reset::Manual};
  std::atomic<HRESULT> result{E_FAIL};
};

CGraphBuildThread::~CGraphBuildThread() { Quit(INFINITE); }

bool CGraphBuildThread::Start(Build build) {
  if (m_thread.joinable()) return false;
  m_shared = std::make_shared<Shared>();
  try {
    m_thread = std::thread([shared = m_shared, build = std::move(build)]() mutable {
      log(1, "GraphBuildThreadProc started");
      CHelperWindowWithThread helperWindow;
      helperWindow.Start();
      Build run = std::move(build);
      const HRESULT hr = run();
      shared->result.store(hr);
      if (SUCCEEDED(hr) && !shared->quit.IsSet()) {
        // What the build holds goes before the graph lives on here, until the quit message.
        run = nullptr;
        shared->done.Set();
        shared->quit.Wait(INFINITE);
        helperWindow.Quit();
      } else {
        // A failed or late build lets go of what it holds last: it may be the last holder.
        shared->done.Set();
        helperWindow.Quit();
        run = nullptr;
      }
      shared->ended.Set();
    });
  } catch (const std::system_error&) {
    m_shared.reset();
    return false;
  }
  return true;
}

std::optional<HRESULT> CGraphBuildThread::WaitForResult(uint32_t timeoutMs) {
  if (!m_shared) return E_UNEXPECTED;
  if (!m_shared->done.Wait(timeoutMs)) {
    LetGo();
    return std::nullopt;
  }
  return m_shared->result.load();
}

bool CGraphBuildThread::Quit(uint32_t timeoutMs) {
  if (!m_thread.joinable()) return true;
  m_shared->quit.Set();
  if (m_thread.get_id() == std::this_thread::get_id() || !m_shared->ended.Wait(timeoutMs)) {
    LetGo();
    return false;
  }
  m_thread.join();
  m_shared.reset();
  return true;
}

void CGraphBuildThread::LetGo() {
  // A late build that succeeds finds its quit message waiting and ends.
  if (m_shared) m_shared->quit.Set();
  if (m_thread.joinable()) m_thread.detach();
  m_shared.reset();
}
