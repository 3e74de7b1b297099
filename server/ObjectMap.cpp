#include "server/ObjectMap.h"

#include "TARNEVO.h"
#include "manager/PropertyPackageManager.h"
#include "com/ComObject.h"
#include "version10/ThermoSystem.h"

namespace tarnevo {

// {D16E0BB5-FF63-4465-BB4C-AED53E396C8C}
const GUID kAppId = {0xD16E0BB5, 0xFF63, 0x4465, {0xBB, 0x4C, 0xAE, 0xD5, 0x3E, 0x39, 0x6C, 0x8C}};
const wchar_t kAppIdName[] = L"TARNEVO";
const wchar_t kAppIdModuleKey[] = L"TARNEVO.DLL";
const wchar_t kVendorUrl[] = L"https://www.tarnevo.com";

namespace {

#define TARNEVO_ABOUT_NOTICES                                                                           \
    L"\r\nCopyright (c) TARNEVO. All rights reserved.\r\n"                                              \
    L"REFPROP, the NIST Standard Reference Database 23, is not part of this software and must be "    \
    L"installed separately.\r\n"                                                                        \
    L"NIST disclaimer: the REFPROP software and data are provided by NIST \"as is\"; NIST makes no "   \
    L"warranty of any kind, express, implied or statutory, including the accuracy of the data, and "   \
    L"accepts no liability for any use of it."

constexpr const wchar_t kCapeOpenComponent[] = L"{678C09A1-7D66-11D2-A67D-00105A42887F}";

}  // namespace

// Creatable classes, in registration order. Wiring a class in: replace its nullptr with
// &CreateClassObject<CTheClass> (and include its header).
const ObjectMapEntry kObjectMap[] = {
    {{&CLSID_PropertyPackageManager, L"TARNEVO.PropertyPackageManager.1", L"TARNEVO.PropertyPackageManager",
      L"PropertyPackageManager Class", {kCapeOpenComponent, L"{CF51E383-0110-4ed8-ACB7-B50CFDE6908E}"},
      L"TARNEVO 1.1", L"TARNEVO Property Package Manager", L"1.1",
      L"CAPE-OPEN 1.1 Property Package Manager - REFPROP" TARNEVO_ABOUT_NOTICES},
     &CreateClassObject<CPropertyPackageManager>},
    {{&CLSID_ThermoSystem, L"TARNEVO.ThermoSystem.1", L"TARNEVO.ThermoSystem", L"ThermoSystem Class",
      {kCapeOpenComponent, L"{678C09A3-7D66-11D2-A67D-00105A42887F}"}, L"TARNEVO 1.0", L"TARNEVO Thermo System",
      L"1.0", L"CAPE-OPEN 1.0 Thermo System - REFPROP" TARNEVO_ABOUT_NOTICES},
     &CreateClassObject<CThermoSystem>},
};
const std::size_t kObjectMapSize = sizeof(kObjectMap) / sizeof(kObjectMap[0]);

}  // namespace tarnevo
