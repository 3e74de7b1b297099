// COM plumbing for our classes (no ATL): interface maps, reference counting, aggregation,
// class factories.
//
// Usage:
//   class CThing : public tarnevo::DispatchImpl<IFoo>, public tarnevo::DispatchImpl<IBar> {
//   public:
//       TARNEVO_BEGIN_INTERFACE_MAP(CThing)
//           TARNEVO_INTERFACE_AS(IDispatch, IFoo)   // first entry is the object's identity
//           TARNEVO_INTERFACE(IFoo)
//           TARNEVO_INTERFACE(IBar)
//           TARNEVO_INTERFACE_FUNC(IBaz, BazOrNull) // IUnknown* BazOrNull(): null refuses
//       TARNEVO_END_INTERFACE_MAP()
//       ... IFoo / IBar methods ...
//   };
// Classes derived from CCapeOpenBaseObject add TARNEVO_CAPE_OPEN_BASE_INTERFACES() to the map.
// CThing itself stays abstract (no IUnknown): instances are ComObject<CThing> (stand-alone)
// or AggregatedObject<CThing>, made by CreateComInstance<CThing> or MakeComObject<CThing>.
// A creatable class goes into the object map (server/ObjectMap.cpp) with
// &tarnevo::CreateClassObject<CThing> as its class-object creator.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <new>
#include <utility>

#include "com/DispatchImpl.h"
#include "com/ModuleLock.h"

namespace tarnevo {

struct InterfaceEntry {
    const IID* iid;                     // null ends the map
    IUnknown* (*get)(void* object);     // the interface pointer; null refuses it
};

// Looks `riid` up in `map` for `object` (IUnknown: the first entry) and AddRefs the result.
HRESULT QueryInterfaceFromMap(void* object, const InterfaceEntry* map, REFIID riid, void** result) noexcept;

#define TARNEVO_BEGIN_INTERFACE_MAP(Class)                        \
    using InterfaceMapClass = Class;                              \
    static const ::tarnevo::InterfaceEntry* InterfaceMap() {      \
        static const ::tarnevo::InterfaceEntry entries[] = {
#define TARNEVO_INTERFACE(I)                                                                \
    {&__uuidof(I), [](void* p) -> IUnknown* {                                               \
         return static_cast<I*>(static_cast<InterfaceMapClass*>(p));                        \
     }},
#define TARNEVO_INTERFACE_AS(I, Via)                                                        \
    {&__uuidof(I), [](void* p) -> IUnknown* {                                               \
         return static_cast<I*>(static_cast<Via*>(static_cast<InterfaceMapClass*>(p)));     \
     }},
#define TARNEVO_INTERFACE_FUNC(I, Member)                                                   \
    {&__uuidof(I), [](void* p) -> IUnknown* { return static_cast<InterfaceMapClass*>(p)->Member(); }},
#define TARNEVO_END_INTERFACE_MAP() \
    {nullptr, nullptr}              \
    };                              \
    return entries;                 \
    }

// AddRef and Release over Base for an object on the heap that deletes itself with its last
// reference.
template <class Base>
class RefCounted : public Base {
public:
    template <class... Args>
    explicit RefCounted(Args&&... args) : Base(std::forward<Args>(args)...) {}
    virtual ~RefCounted() = default;

    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

private:
    volatile LONG refs_ = 0;
};

// A stand-alone instance of T: owns its reference count and holds a module lock.
template <class T>
class ComObject final : public RefCounted<T> {
public:
    template <class... Args>
    explicit ComObject(Args&&... args) : RefCounted<T>(std::forward<Args>(args)...) { LockModule(); }
    ~ComObject() { UnlockModule(); }

    STDMETHODIMP QueryInterface(REFIID riid, void** result) override {
        return QueryInterfaceFromMap(static_cast<T*>(this), T::InterfaceMap(), riid, result);
    }
};

// T inside an aggregate: every IUnknown call goes to the outer object.
template <class T>
class ContainedObject final : public T {
public:
    template <class... Args>
    explicit ContainedObject(IUnknown* outer, Args&&... args) : T(std::forward<Args>(args)...), outer_(outer) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** result) override { return outer_->QueryInterface(riid, result); }
    STDMETHODIMP_(ULONG) AddRef() override { return outer_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return outer_->Release(); }

private:
    IUnknown* outer_;  // not held: the outer object owns us
};

// The non-delegating IUnknown that an outer object holds when it aggregates T.
template <class T>
class AggregatedObject final : public RefCounted<IUnknown> {
public:
    template <class... Args>
    explicit AggregatedObject(IUnknown* outer, Args&&... args) : inner_(outer, std::forward<Args>(args)...) {
        LockModule();
    }
    ~AggregatedObject() { UnlockModule(); }

    STDMETHODIMP QueryInterface(REFIID riid, void** result) override {
        if (!result) return E_POINTER;
        if (riid == IID_IUnknown) {
            *result = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return QueryInterfaceFromMap(static_cast<T*>(&inner_), T::InterfaceMap(), riid, result);
    }

private:
    ContainedObject<T> inner_;
};

// A new stand-alone instance with one reference held by the result; throws std::bad_alloc.
template <class T, class... Args>
Microsoft::WRL::ComPtr<ComObject<T>> MakeComObject(Args&&... args) {
    return Microsoft::WRL::ComPtr<ComObject<T>>(new ComObject<T>(std::forward<Args>(args)...));
}

// IClassFactory::CreateInstance semantics: stand-alone or aggregated (outer given, riid must
// be IID_IUnknown), E_OUTOFMEMORY when the object cannot be allocated or constructed.
template <class T, class... Args>
HRESULT CreateComInstance(IUnknown* outer, REFIID riid, void** result, Args&&... args) noexcept {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    IUnknown* object = nullptr;
    try {
        if (outer)
            object = new AggregatedObject<T>(outer, std::forward<Args>(args)...);
        else
            object = T::InterfaceMap()[0].get(static_cast<T*>(new ComObject<T>(std::forward<Args>(args)...)));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    object->AddRef();
    HRESULT hr = object->QueryInterface(riid, result);
    object->Release();
    return hr;
}

// Class object of a creatable class T.
template <class T>
class ClassFactory final : public RefCounted<IClassFactory> {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** result) override {
        if (!result) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *result = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *result = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** result) override {
        return CreateComInstance<T>(outer, riid, result);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            LockModule();
        else
            UnlockModule();
        return S_OK;
    }
};

// Object-map creator of the class object of T.
template <class T>
HRESULT CreateClassObject(IClassFactory** factory) noexcept {
    if (!factory) return E_POINTER;
    *factory = new (std::nothrow) ClassFactory<T>();
    if (!*factory) return E_OUTOFMEMORY;
    (*factory)->AddRef();
    return S_OK;
}

}  // namespace tarnevo
