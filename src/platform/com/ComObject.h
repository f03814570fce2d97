#pragma once
// Component objects: a class lists the interfaces it answers for in its
// interface map; ComObject<T> adds the reference count, the query operation
// and the module lock count.
//
//   class CFoo : public IFoo, public IBar {
//    public:
//     using InterfaceMap = ::InterfaceMap<IFoo, IBar, InterfaceVia<IBase, IFoo>>;
//     ...
//     virtual ~CFoo();
//   };
//   ComObject<CFoo>::CreateInstance(&obj);   // reference count 0
#include <atomic>
#include <new>
#include <tuple>
#include <utility>

#include "platform/com/ComPtr.h"
#include "platform/com/ModuleLock.h"
#include "platform/com/Unknown.h"

// Answers the query for Interface, reached through the base Via (for an
// interface that several bases derive from, or a base interface of another).
template <class Interface, class Via = Interface>
struct InterfaceVia {
  template <class Object>
  static Interface* Cast(Object* object) {
    return static_cast<Interface*>(static_cast<Via*>(object));
  }
  static constexpr const GUID& Iid() { return IidOf<Interface>(); }
};

namespace com_detail {
template <class E>
struct Entry {
  using Type = InterfaceVia<E>;
};
template <class I, class V>
struct Entry<InterfaceVia<I, V>> {
  using Type = InterfaceVia<I, V>;
};
}  // namespace com_detail

template <class... Entries>
struct InterfaceMap {
  template <class Object>
  static HRESULT Query(Object* object, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IidOf<IUnknown>()) {
      *out = FirstUnknown(object);
    } else {
      (void)((*out == nullptr && iid == com_detail::Entry<Entries>::Type::Iid() &&
              (*out = com_detail::Entry<Entries>::Type::Cast(object)) != nullptr) ||
             ...);
    }
    if (!*out) return E_NOINTERFACE;
    object->AddRef();
    return S_OK;
  }

 private:
  // IUnknown is always answered through the first listed interface, so
  // that every query for it yields the same pointer (object identity).
  template <class Object>
  static IUnknown* FirstUnknown(Object* object) {
    using First = typename com_detail::Entry<std::tuple_element_t<0, std::tuple<Entries...>>>::Type;
    return static_cast<IUnknown*>(First::Cast(object));
  }
};

template <class T>
class ComObject final : public T {
 public:
  template <class... Args>
  explicit ComObject(Args&&... args) : T(std::forward<Args>(args)...) {
    ModuleLock::Increment();
  }
  ~ComObject() override { ModuleLock::Decrement(); }

  HRESULT QueryInterface(REFIID iid, void** out) override { return T::InterfaceMap::Query(this, iid, out); }
  ULONG AddRef() override { return m_refs.fetch_add(1, std::memory_order_relaxed) + 1; }
  ULONG Release() override {
    const ULONG refs = m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (refs == 0) delete this;
    return refs;
  }

  // Creates the object with reference count 0 (the first query takes one).
  template <class... Args>
  static HRESULT CreateInstance(ComObject** out, Args&&... args) {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) ComObject(std::forward<Args>(args)...);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  // Creates the object and queries it for Interface: the usual way to hand one out.
  template <class Interface, class... Args>
  static HRESULT CreateAndQuery(Interface** out, Args&&... args) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComObject* object = nullptr;
    const HRESULT hr = CreateInstance(&object, std::forward<Args>(args)...);
    if (FAILED(hr)) return hr;
    object->AddRef();
    const HRESULT qr = object->QueryInterface(IidOf<Interface>(), reinterpret_cast<void**>(out));
    object->Release();
    return qr;
  }

  // Creates the object holding one reference.
  template <class... Args>
  static ComPtr<ComObject> Make(Args&&... args) {
    ComObject* object = nullptr;
    if (FAILED(CreateInstance(&object, std::forward<Args>(args)...))) return {};
    return ComPtr<ComObject>(object);
  }

 private:
  std::atomic<ULONG> m_refs{0};
};
