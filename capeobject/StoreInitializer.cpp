#include "capeobject/StoreInitializer.h"

#include <new>

#include "capeobject/CapeFailure.h"

namespace tarnevo {
namespace {

bool AlwaysReady(std::wstring&) { return true; }

StoreInitializer g_initializer = &AlwaysReady;

}  // namespace

void SetStoreInitializer(StoreInitializer initializer) noexcept {
    g_initializer = initializer ? initializer : &AlwaysReady;
}

bool RunStoreInitializer(std::wstring& message) noexcept {
    try {
        return g_initializer(message);
    } catch (const CapeFailure& failure) {
        try {
            message = failure.message();
        } catch (...) {
            message.clear();
        }
    } catch (...) {
        message.clear();
    }
    return false;
}

}  // namespace tarnevo
