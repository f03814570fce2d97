#pragma once
// Owning reference to a component object: AddRef on copy, Release on reset.
#include <utility>

#include "platform/com/Unknown.h"

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ComPtr(T* p) : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  template <class U>
  ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.Get())) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).Swap(*this);
    return *this;
  }
  ComPtr& operator=(T* p) {
    ComPtr(p).Swap(*this);
    return *this;
  }

  void Reset() {
    if (T* p = std::exchange(m_p, nullptr)) p->Release();
  }
  // Takes over a reference the caller already owns.
  void Attach(T* p) {
    Reset();
    m_p = p;
  }
  // Gives the reference to the caller.
  T* Detach() { return std::exchange(m_p, nullptr); }
  void Swap(ComPtr& other) noexcept { std::swap(m_p, other.m_p); }

  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  T& operator*() const { return *m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  // Address for an out parameter; releases what was held.
  T** Put() {
    Reset();
    return &m_p;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  // Copies the reference into an out parameter (AddRef for the receiver).
  HRESULT CopyTo(T** out) const {
    if (!out) return E_POINTER;
    *out = m_p;
    if (m_p) m_p->AddRef();
    return S_OK;
  }

  template <class U>
  HRESULT As(ComPtr<U>& out) const {
    if (!m_p) return E_POINTER;
    return m_p->QueryInterface(IidOf<U>(), out.PutVoid());
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.m_p == nullptr; }

 private:
  T* m_p = nullptr;
};

// Queries `source` for U.
template <class U, class T>
ComPtr<U> QueryAs(T* source) {
  ComPtr<U> out;
  if (source) source->QueryInterface(IidOf<U>(), out.PutVoid());
  return out;
}
