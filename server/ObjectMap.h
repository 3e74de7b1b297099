// The creatable classes of the module with their registration scripts, and the module's
// fixed identifiers.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cstddef>

namespace tarnevo {

// What the registration script of one creatable class writes.
struct ClassScript {
    const CLSID* clsid;
    const wchar_t* versionedProgId;     // e.g. "TARNEVO.PropertyPackageManager.1"
    const wchar_t* progId;              // version-independent
    const wchar_t* friendlyName;
    const wchar_t* categories[2];       // Implemented Categories
    const wchar_t* capeName;
    const wchar_t* capeDescription;
    const wchar_t* capeVersion;
    const wchar_t* about;
};

struct ObjectMapEntry {
    ClassScript script;
    // Creates the class object; null while the class is not part of this build.
    HRESULT (*createClassObject)(IClassFactory** factory);
};

extern const ObjectMapEntry kObjectMap[];
extern const std::size_t kObjectMapSize;

extern const wchar_t kAppIdName[];      // "TARNEVO"
extern const wchar_t kAppIdModuleKey[]; // "TARNEVO.DLL"
extern const wchar_t kVendorUrl[];
extern const GUID kAppId;

}  // namespace tarnevo
