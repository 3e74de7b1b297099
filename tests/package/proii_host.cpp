// Built as proii.exe: the one host that must not get IPersistPropertyBag.
// Exit code 0 when the package refuses it and still answers IPersistStream.
#include <windows.h>
#include <ocidl.h>

#include "package/PackageFactory.h"

int main() {
    CoInitialize(nullptr);
    int result = 1;
    {
        tarnevo::PropertyPackagePtr package = tarnevo::CreatePropertyPackage(L"Gas");
        Microsoft::WRL::ComPtr<IPersistPropertyBag> bag;
        Microsoft::WRL::ComPtr<IPersistStream> stream;
        if (package->QueryInterface(IID_PPV_ARGS(&bag)) == E_NOINTERFACE && !bag &&
            package->QueryInterface(IID_PPV_ARGS(&stream)) == S_OK)
            result = 0;
    }
    CoUninitialize();
    return result;
}
