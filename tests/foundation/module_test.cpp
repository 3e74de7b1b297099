// TARNEVO64.dll as COM and a setup tool see it: its exports, DllGetClassObject and
// DllCanUnloadNow, and per-user registration read back from the registry of the prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "TARNEVO.h"
#include "com/OwnedHandles.h"
#include "tests/common/ClassActivation.h"
#include "tests/common/TestPaths.h"
#include "tests/foundation/ExpectedInterfaces.h"

namespace {

using Microsoft::WRL::ComPtr;

using tarnevo_test::ExpectedRow;

using Library = tarnevo::UniqueModule;

class Server {
public:
    explicit Server(const char* unixPath) : path(tarnevo_test::WindowsPath(unixPath)), module(LoadLibraryW(path.c_str())) {}
    template <class F>
    F* Export(const char* name) const {
        // Through void*: FARPROC's own type says nothing about the export's signature.
        return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module.get(), name)));
    }
    HRESULT Register() const { return Export<HRESULT __stdcall()>("DllRegisterServer")(); }
    HRESULT Unregister() const { return Export<HRESULT __stdcall()>("DllUnregisterServer")(); }
    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** result) const {
        return Export<HRESULT __stdcall(REFCLSID, REFIID, void**)>("DllGetClassObject")(clsid, riid, result);
    }
    HRESULT CanUnloadNow() const { return Export<HRESULT __stdcall()>("DllCanUnloadNow")(); }

    std::wstring path;
    Library module;
};

const Server& MainServer() {
    static Server server(TARNEVO_TEST_DLL);
    return server;
}

std::wstring Guid(const GUID& guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

const std::wstring kClasses = L"Software\\Classes\\";

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

// The string value `name` (null: default) of HKCU\Software\Classes\<key>, or "<missing>".
std::wstring Value(const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t buffer[2048];
    DWORD size = sizeof buffer;
    LONG status = RegGetValueW(HKEY_CURRENT_USER, (kClasses + key).c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size);
    return status == ERROR_SUCCESS ? std::wstring(buffer) : L"<missing>";
}

struct ClassFacts {
    const CLSID* clsid;
    const wchar_t* progId;
    const wchar_t* friendlyName;
    const wchar_t* category;
    const wchar_t* capeName;
    const wchar_t* capeDescription;
    const wchar_t* capeVersion;
    const wchar_t* aboutStart;
};
const ClassFacts kClassesRegistered[] = {
    {&CLSID_PropertyPackageManager, L"TARNEVO.PropertyPackageManager", L"PropertyPackageManager Class",
     L"{CF51E383-0110-4ed8-ACB7-B50CFDE6908E}", L"TARNEVO 1.1", L"TARNEVO Property Package Manager", L"1.1",
     L"CAPE-OPEN 1.1 Property Package Manager - REFPROP"},
    {&CLSID_ThermoSystem, L"TARNEVO.ThermoSystem", L"ThermoSystem Class", L"{678C09A3-7D66-11D2-A67D-00105A42887F}",
     L"TARNEVO 1.0", L"TARNEVO Thermo System", L"1.0", L"CAPE-OPEN 1.0 Thermo System - REFPROP"},
};

std::vector<std::wstring> KeysWritten() {
    std::vector<std::wstring> keys = {L"AppID\\{D16E0BB5-FF63-4465-BB4C-AED53E396C8C}", L"AppID\\TARNEVO.DLL",
                                      L"TypeLib\\" + Guid(LIBID_TARNEVOLib),
                                      L"Interface\\" + Guid(IID_ICapeThermoNewPropertyPackage)};
    for (const ClassFacts& c : kClassesRegistered) {
        keys.push_back(c.progId);
        keys.push_back(std::wstring(c.progId) + L".1");
        keys.push_back(L"CLSID\\" + Guid(*c.clsid));
    }
    return keys;
}

void ExpectClassRegistration(const ClassFacts& c, const std::wstring& modulePath, const std::wstring& version) {
    SCOPED_TRACE(std::string(c.capeName, c.capeName + wcslen(c.capeName)));
    const std::wstring clsid = Guid(*c.clsid);
    const std::wstring versioned = std::wstring(c.progId) + L".1";
    const std::wstring key = L"CLSID\\" + clsid;
    EXPECT_EQ(Value(versioned), c.friendlyName);
    EXPECT_EQ(Value(versioned + L"\\CLSID"), clsid);
    EXPECT_EQ(Value(c.progId), c.friendlyName);
    EXPECT_EQ(Value(std::wstring(c.progId) + L"\\CLSID"), clsid);
    EXPECT_EQ(Value(std::wstring(c.progId) + L"\\CurVer"), versioned);
    EXPECT_EQ(Value(key), c.friendlyName);
    EXPECT_EQ(Value(key, L"AppID"), L"{D16E0BB5-FF63-4465-BB4C-AED53E396C8C}");
    EXPECT_EQ(Value(key + L"\\ProgID"), versioned);
    EXPECT_EQ(Value(key + L"\\VersionIndependentProgID"), c.progId);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + key + L"\\Programmable"));
    EXPECT_EQ(Value(key + L"\\InprocServer32"), modulePath);
    EXPECT_EQ(Value(key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(Value(key + L"\\Version"), L"1.0");
    EXPECT_EQ(Value(key + L"\\TypeLib"), Guid(LIBID_TARNEVOLib));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER,
                          kClasses + key + L"\\Implemented Categories\\{678C09A1-7D66-11D2-A67D-00105A42887F}"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kClasses + key + L"\\Implemented Categories\\" + c.category));
    const std::wstring cape = key + L"\\CapeDescription";
    EXPECT_EQ(Value(cape, L"Name"), c.capeName);
    EXPECT_EQ(Value(cape, L"Description"), c.capeDescription);
    EXPECT_EQ(Value(cape, L"CapeVersion"), c.capeVersion);
    EXPECT_EQ(Value(cape, L"ComponentVersion"), version);
    EXPECT_NE(Value(cape, L"VendorURL"), L"<missing>");
    const std::wstring about = Value(cape, L"About");
    EXPECT_EQ(about.rfind(c.aboutStart, 0), 0u) << "About begins with the component line";
    EXPECT_NE(about.find(L"REFPROP"), std::wstring::npos);
    EXPECT_NE(about.find(L"NIST"), std::wstring::npos);
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(MainServer().module, nullptr); }
    void TearDown() override { MainServer().Unregister(); }
};

TEST_F(Registration, WritesEveryKeyPerUserOnly) {
    // Keys already machine-wide (a prefix where a tool mirrored them for activation) are not ours.
    std::vector<std::wstring> machineKeys;
    for (const std::wstring& key : KeysWritten())
        if (KeyExists(HKEY_LOCAL_MACHINE, kClasses + key)) machineKeys.push_back(key);
    ASSERT_EQ(MainServer().Register(), S_OK);
    for (const ClassFacts& c : kClassesRegistered) ExpectClassRegistration(c, MainServer().path, L"1.0.1.0");
    EXPECT_EQ(Value(L"AppID\\{D16E0BB5-FF63-4465-BB4C-AED53E396C8C}"), L"TARNEVO");
    EXPECT_EQ(Value(L"AppID\\TARNEVO.DLL", L"AppID"), L"{D16E0BB5-FF63-4465-BB4C-AED53E396C8C}");

    const std::wstring typeLib = L"TypeLib\\" + Guid(LIBID_TARNEVOLib) + L"\\1.0";
    EXPECT_EQ(Value(typeLib), L"TARNEVO 1.0 Type Library");
    EXPECT_EQ(Value(typeLib + L"\\0\\win64"), MainServer().path);
    EXPECT_EQ(Value(typeLib + L"\\FLAGS"), L"0");
    const std::wstring own = L"Interface\\" + Guid(IID_ICapeThermoNewPropertyPackage);
    EXPECT_EQ(Value(own), L"ICapeThermoNewPropertyPackage");
    EXPECT_EQ(Value(own + L"\\TypeLib"), Guid(LIBID_TARNEVOLib));
    EXPECT_EQ(Value(own + L"\\ProxyStubClsid32"), L"{00020424-0000-0000-C000-000000000046}");

    for (const std::wstring& key : KeysWritten()) {
        if (std::find(machineKeys.begin(), machineKeys.end(), key) == machineKeys.end()) {
            EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + key)) << "written machine-wide";
        }
    }
    for (const ExpectedRow& row : tarnevo_test::kExpectedInterfaces) {
        if (row.slot != -1) continue;
        const std::wstring key = kClasses + L"Interface\\" + row.iid;
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << "standard interface key written";
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key)) << "standard interface key written";
    }
}

TEST_F(Registration, RemovalDeletesExactlyWhatWasWritten) {
    ASSERT_EQ(MainServer().Register(), S_OK);
    // A foreign key beside ours survives; a stray subkey of our class key is replaced.
    HKEY stray = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER,
                            (kClasses + L"CLSID\\" + Guid(CLSID_ThermoSystem) + L"\\Stale").c_str(), &stray),
              ERROR_SUCCESS);
    RegCloseKey(stray);
    HKEY other = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, (kClasses + L"CLSID\\{00000000-1111-2222-3333-444444444444}").c_str(),
                            &other),
              ERROR_SUCCESS);
    RegCloseKey(other);
    ASSERT_EQ(MainServer().Register(), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClasses + L"CLSID\\" + Guid(CLSID_ThermoSystem) + L"\\Stale"));

    ASSERT_EQ(MainServer().Unregister(), S_OK);
    for (const std::wstring& key : KeysWritten()) EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClasses + key));
    for (const wchar_t* kept : {L"Software", L"Software\\Classes", L"Software\\Classes\\CLSID",
                                L"Software\\Classes\\AppID",
                                L"Software\\Classes\\CLSID\\{00000000-1111-2222-3333-444444444444}"})
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kept)) << "removed too much";
    RegDeleteKeyW(HKEY_CURRENT_USER, (kClasses + L"CLSID\\{00000000-1111-2222-3333-444444444444}").c_str());
    EXPECT_EQ(MainServer().Unregister(), S_OK) << "removing twice is harmless";
}

TEST_F(Registration, ComponentVersionIsTheModulesFileVersion) {
    Server versioned(TARNEVO_TEST_VERSION_DLL);
    ASSERT_NE(versioned.module, nullptr);
    ASSERT_EQ(versioned.Register(), S_OK);
    for (const ClassFacts& c : kClassesRegistered) {
        EXPECT_EQ(Value(L"CLSID\\" + Guid(*c.clsid) + L"\\CapeDescription", L"ComponentVersion"), L"1.0.22.0");
        EXPECT_EQ(Value(L"CLSID\\" + Guid(*c.clsid) + L"\\InprocServer32"), versioned.path);
    }
    EXPECT_EQ(versioned.Unregister(), S_OK);
}

TEST_F(Registration, MirroredRegistrationActivatesUnderWine) {
    ASSERT_EQ(MainServer().Register(), S_OK);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    {
        tarnevo_test::MachineClassMirror mirror;
        EXPECT_EQ(mirror.MirroredKeys(), 8u);
        for (const ClassFacts& c : kClassesRegistered) {
            CLSID clsid = {};
            ASSERT_EQ(CLSIDFromProgID(c.progId, &clsid), S_OK);
            EXPECT_EQ(clsid, *c.clsid);
            ComPtr<IClassFactory> factory;
            HRESULT hr = CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&factory));
            // COM found and loaded the module; a class not part of this build yet is refused by it.
            EXPECT_TRUE(hr == S_OK || hr == CLASS_E_CLASSNOTAVAILABLE) << std::hex << hr;
        }
    }
    CoUninitialize();
    for (const ClassFacts& c : kClassesRegistered)
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClasses + L"CLSID\\" + Guid(*c.clsid))) << "mirror removed";
}

TEST(ModuleExports, ExactlyTheFiveEntryPoints) {
    ASSERT_NE(MainServer().module, nullptr);
    auto* base = reinterpret_cast<const BYTE*>(MainServer().module.get());
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) found.push_back(reinterpret_cast<const char*>(base + names[i]));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"DllCanUnloadNow", "DllConfigure", "DllGetClassObject",
                                               "DllRegisterServer", "DllUnregisterServer"}));
    EXPECT_EQ(exports->NumberOfFunctions, 5u);
}

TEST(ModuleClassObjects, AnswersOnlyTheObjectMap) {
    const Server& server = MainServer();
    ASSERT_NE(server.module, nullptr);
    EXPECT_EQ(server.GetClassObject(CLSID_PropertyPackageManager, IID_IClassFactory, nullptr), E_POINTER);
    void* factory = reinterpret_cast<void*>(1);
    EXPECT_EQ(server.GetClassObject(CLSID_PropertyPackage, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(server.GetClassObject(IID_ICapeUtilities, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(server.CanUnloadNow(), S_OK);

    for (const ClassFacts& c : kClassesRegistered) {
        ComPtr<IClassFactory> first, second;
        HRESULT hr = server.GetClassObject(*c.clsid, IID_PPV_ARGS(&first));
        if (hr == CLASS_E_CLASSNOTAVAILABLE) continue;  // class not part of this build yet
        ASSERT_EQ(hr, S_OK);
        ASSERT_EQ(server.GetClassObject(*c.clsid, IID_PPV_ARGS(&second)), S_OK);
        EXPECT_EQ(first.Get(), second.Get()) << "class objects are created once";
        ASSERT_EQ(first->LockServer(TRUE), S_OK);
        EXPECT_EQ(server.CanUnloadNow(), S_FALSE);
        ASSERT_EQ(first->LockServer(FALSE), S_OK);
        ComPtr<IUnknown> outer;  // aggregation must ask for IUnknown
        ComPtr<IDispatch> instance;
        EXPECT_EQ(first->CreateInstance(reinterpret_cast<IUnknown*>(first.Get()), IID_PPV_ARGS(&instance)),
                  CLASS_E_NOAGGREGATION);
    }
    EXPECT_EQ(server.CanUnloadNow(), S_OK);
}

}  // namespace
