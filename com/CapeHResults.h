// The CAPE-OPEN error codes (ECapeErrorInterfaceHR), for servers and hosts alike.
#pragma once

#include <windows.h>

namespace tarnevo {

constexpr HRESULT ECapeUnknownHR = static_cast<HRESULT>(0x80040501L);
constexpr HRESULT ECapeDataHR = static_cast<HRESULT>(0x80040502L);
constexpr HRESULT ECapeLicenceErrorHR = static_cast<HRESULT>(0x80040503L);
constexpr HRESULT ECapeBadCOParameterHR = static_cast<HRESULT>(0x80040504L);
constexpr HRESULT ECapeBadArgumentHR = static_cast<HRESULT>(0x80040505L);
constexpr HRESULT ECapeInvalidArgumentHR = static_cast<HRESULT>(0x80040506L);
constexpr HRESULT ECapeOutOfBoundsHR = static_cast<HRESULT>(0x80040507L);
constexpr HRESULT ECapeImplementationHR = static_cast<HRESULT>(0x80040508L);
constexpr HRESULT ECapeNoImplHR = static_cast<HRESULT>(0x80040509L);
constexpr HRESULT ECapeLimitedImplHR = static_cast<HRESULT>(0x8004050AL);
constexpr HRESULT ECapeComputationHR = static_cast<HRESULT>(0x8004050BL);
constexpr HRESULT ECapeOutOfResourcesHR = static_cast<HRESULT>(0x8004050CL);
constexpr HRESULT ECapeNoMemoryHR = static_cast<HRESULT>(0x8004050DL);
constexpr HRESULT ECapeTimeOutHR = static_cast<HRESULT>(0x8004050EL);
constexpr HRESULT ECapeFailedInitialisationHR = static_cast<HRESULT>(0x8004050FL);
constexpr HRESULT ECapeSolvingErrorHR = static_cast<HRESULT>(0x80040510L);
constexpr HRESULT ECapeBadInvOrderHR = static_cast<HRESULT>(0x80040511L);
constexpr HRESULT ECapeInvalidOperationHR = static_cast<HRESULT>(0x80040512L);
constexpr HRESULT ECapeThrmPropertyNotAvailableHR = static_cast<HRESULT>(0x8004051AL);

}  // namespace tarnevo
