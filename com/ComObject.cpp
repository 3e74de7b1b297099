#include "com/ComObject.h"

namespace tarnevo {

HRESULT QueryInterfaceFromMap(void* object, const InterfaceEntry* map, REFIID riid, void** result) noexcept {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (riid == IID_IUnknown) {
        IUnknown* identity = map[0].get(object);
        identity->AddRef();
        *result = identity;
        return S_OK;
    }
    for (const InterfaceEntry* entry = map; entry->iid; ++entry) {
        if (*entry->iid != riid) continue;
        IUnknown* found = entry->get(object);
        if (!found) return E_NOINTERFACE;
        found->AddRef();
        *result = found;
        return S_OK;
    }
    return E_NOINTERFACE;
}

}  // namespace tarnevo
