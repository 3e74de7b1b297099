// ICapeUtilities of CPropertyPackage: Initialize, Terminate, Edit, the package loader and
// the unloading of the private REFPROP instance.
#include "package/PropertyPackage.h"

#include <new>

#include "definition/FileAccess.h"
#include "definition/KeyValueReader.h"
#include "definition/PackageDefinitionLoader.h"
#include "definition/PackageStore.h"
#include "capeobject/StoreInitializer.h"
#include "com/HostApplication.h"
#include "package/PackageEditorSeam.h"
#include "refprop/FluidSetup.h"
#include "refprop/RefpropLibrary.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kUtilities[] = L"ICapeUtilities";

// The common Initialize of every class establishes the real package store.
const bool kStoreInitializerInstalled = (SetStoreInitializer(&InitializeFolders), true);

}  // namespace

CPropertyPackage::CPropertyPackage() : CCapeOpenBaseObject(L"REFPROP Property Package", L"") {}

CPropertyPackage::~CPropertyPackage() { UnloadRefpropInstance(); }

IUnknown* CPropertyPackage::PropertyBagInterface() {
    if (GetHostApplication() == HostProII) return nullptr;
    return static_cast<IPersistPropertyBag*>(this);
}

void CPropertyPackage::OnSimulationContextChanged() {
    contextDiagnostics.Reset();
    if (IDispatch* context = SimulationContext()) {
        if (FAILED(context->QueryInterface(IID_PPV_ARGS(contextDiagnostics.ReleaseAndGetAddressOf()))))
            contextDiagnostics.Reset();
    }
}

// --- Initialize / Terminate ------------------------------------------------------------------

STDMETHODIMP CPropertyPackage::Initialize() {
    if (IsInitialised()) return S_OK;
    HRESULT hr = InitializeCommon();
    if (FAILED(hr)) return hr;
    try {
        SetComponentNameText(packageName);
    } catch (...) {
        SetInitialisationError(L"Out of memory");
        SetInitialised(false);
        SetCapeError(L"Out of memory", L"Initialize", kUtilities, ECapeFailedInitialisationHR);
        return ECapeFailedInitialisationHR;
    }
    return LoadLibraryAndDefinition() ? S_OK : ECapeFailedInitialisationHR;
}

bool CPropertyPackage::LoadLibraryAndDefinition() {
    std::wstring message;
    try {
        LoadRefpropLibrary(refprop, RefpropFolder(), TemporaryFolder());
        if (definitionText == kNewPackageMarker) return true;
        if (ApplyDefinition(false)) return true;
        message = InitialisationError();
    } catch (const CapeFailure& failure) {
        message = failure.message();
    } catch (...) {
        message = L"Out of memory";
    }
    SetInitialisationError(message);
    SetInitialised(false);
    SetCapeError(InitialisationError(), L"Initialize", kUtilities, ECapeFailedInitialisationHR);
    return false;
}

STDMETHODIMP CPropertyPackage::Terminate() {
    HRESULT hr = TerminateCommon();
    UnloadRefpropInstance();
    return hr;
}

void CPropertyPackage::UnloadRefpropInstance() noexcept {
    contextDiagnostics.Reset();
    currentMaterial.Reset();
    materialCompoundMap.clear();
    ClearCompoundData();
    UnloadRefpropLibrary(refprop);
}

// --- The package loader ----------------------------------------------------------------------

bool CPropertyPackage::ApplyDefinition(bool reload) {
    std::wstring message;
    try {
        KeyValueReader reader;
        std::wstring packageFile = PackageFilePath(packageName);
        if (definitionText.empty() && !IsPlainPackageName(packageName))
            throw CapeFailure(L"Property package definition (" + packageFile + L") does not exist");
        if (!ReadPackageDefinitionEntries(packageFile, definitionText, reader, message)) throw CapeFailure(message);

        PackageDefinition applied;
        if (!InterpretPackageDefinition(reader.entries(), RefpropFolder(), applied, message))
            throw CapeFailure(message);

        ClearCompoundData();
        if (reload) {
            try {
                LoadRefpropLibrary(refprop, RefpropFolder(), TemporaryFolder());
            } catch (const CapeFailure& failure) {
                throw CapeFailure(L"Error resetting model options: " + failure.message());
            }
        }
        for (const std::wstring& warning : applied.warnings)
            LogWarning(contextDiagnostics.Get(), L"Property package " + packageName + L": " + warning);
        SetUpFluidSystem(refprop, applied, RefpropFolder(), contextDiagnostics.Get());
        SetUpCompoundData(applied);
        return true;
    } catch (const CapeFailure& failure) {
        message = failure.message();
    } catch (...) {
        message = L"Out of memory";
    }
    ClearCompoundData();
    SetInitialisationError(message);
    SetInitialised(false);
    return false;
}

void CPropertyPackage::SetUpCompoundData(PackageDefinition& applied) {
    const size_t count = applied.compoundRecords.size();
    try {
        compoundNameMap.Clear();
        for (size_t i = 0; i < count; ++i) {
            const std::wstring& id = applied.compoundRecords[i].id;
            if (!compoundNameMap.Find(id.c_str())) compoundNameMap[id] = static_cast<std::int32_t>(i);
        }
        composition.assign(count, 0.0);
        liquidComposition.assign(count, 0.0);
        vaporComposition.assign(count, 0.0);
        fugacityCoefficients.assign(count, 0.0);
        resolvedCompounds.reserve(count);
        compounds = std::move(applied.compoundRecords);
        definition = std::move(applied);
    } catch (const std::bad_alloc&) {
        throw CapeFailure(L"Out of memory", E_OUTOFMEMORY);
    }
}

void CPropertyPackage::ClearCompoundData() noexcept {
    definition = PackageDefinition();
    compounds.clear();
    compoundNameMap.Clear();
    composition.clear();
    liquidComposition.clear();
    vaporComposition.clear();
    fugacityCoefficients.clear();
    resolvedCompounds.clear();
    resolvedProperties.clear();
    materialCompoundMap.clear();
    scalarResult.Release();
    compoundResult.Release();
    matrixResult.Release();
}

// --- Edit ------------------------------------------------------------------------------------

CPropertyPackage::EditOutcome CPropertyPackage::RunEdit(HWND owner) {
    std::string newText;
    if (!RunPackageEditor(owner, definitionText, newText)) return EditOutcome::Cancelled;
    dirty = true;
    definitionText = newText;
    SetInitialisationError(L"");
    SetInitialised(true);
    if (ApplyDefinition(true)) return EditOutcome::Applied;
    ShowFailureBox(owner, L"Failed to re-initialize property package: " + InitialisationError());
    SetCapeError(InitialisationError(), L"Edit", kUtilities, ECapeFailedInitialisationHR);
    return EditOutcome::Failed;
}

STDMETHODIMP CPropertyPackage::Edit() {
    if (!refprop.libraryReady && CheckInitialised(L"Edit", kUtilities)) return ECapeFailedInitialisationHR;
    return Guarded(L"Edit", kUtilities, [&]() -> HRESULT {
        switch (RunEdit(GetActiveWindow())) {
            case EditOutcome::Applied: return S_OK;
            case EditOutcome::Cancelled: return S_FALSE;
            default: return ECapeFailedInitialisationHR;
        }
    });
}

bool CPropertyPackage::EditPackage(HWND owner) {
    try {
        return RunEdit(owner) == EditOutcome::Applied;
    } catch (...) {
        return false;
    }
}

}  // namespace tarnevo
