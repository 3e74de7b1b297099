#include "tools/tarnevo/Server.h"

#include <comdef.h>

#include "tools/host/VariantValues.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Text.h"

namespace tarnevo::cli {

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t kManagerInterface[] = L"ICapeThermoPropertyPackageManager";
const wchar_t kSystemInterface[] = L"ICapeThermoSystem";

std::wstring BstrText(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

std::vector<std::wstring> OptionalStrings(const VARIANT& value) {
    std::vector<std::wstring> out;
    for (const auto& text : host::ReadOptionalStrings(value)) out.push_back(text ? *text : std::wstring());
    return out;
}

}  // namespace

Package::Package(std::wstring name, ComPtr<IDispatch> object, host::CHostSimulationContext::Ptr context)
    : name_(std::move(name)), object_(std::move(object)), context_(std::move(context)) {
    ComPtr<ICapeUtilities> utilities;
    CheckCape(object_.As(&utilities), object_.Get(), L"QueryInterface", L"ICapeUtilities");
    CheckCape(utilities->put_simulationContext(context_->Dispatch()), utilities.Get(), L"simulationContext",
              L"ICapeUtilities");
    CheckCape(utilities->Initialize(), utilities.Get(), L"Initialize", L"ICapeUtilities");
    CheckCape(object_.As(&compounds_), object_.Get(), L"QueryInterface", L"ICapeThermoCompounds");
}

Package::~Package() {
    if (materialSet_) {
        ComPtr<ICapeThermoMaterialContext> context;
        if (SUCCEEDED(object_.As(&context))) context->UnsetMaterial();
    }
    ComPtr<ICapeUtilities> utilities;
    if (SUCCEEDED(object_.As(&utilities))) utilities->Terminate();
}

std::wstring Package::Description() {
    ComPtr<ICapeIdentification> identification;
    if (FAILED(object_.As(&identification))) return std::wstring();
    _bstr_t text;
    if (FAILED(identification->get_ComponentDescription(text.GetAddress()))) return std::wstring();
    return BstrText(text);
}

ICapeThermoPropertyRoutine* Package::Routine() {
    if (!routine_) CheckCape(object_.As(&routine_), object_.Get(), L"QueryInterface", L"ICapeThermoPropertyRoutine");
    return routine_.Get();
}

ICapeThermoEquilibriumRoutine* Package::Equilibrium() {
    if (!equilibrium_)
        CheckCape(object_.As(&equilibrium_), object_.Get(), L"QueryInterface", L"ICapeThermoEquilibriumRoutine");
    return equilibrium_.Get();
}

ICapeThermoPropertyPackage* Package::Version10() {
    if (!version10_)
        CheckCape(object_.As(&version10_), object_.Get(), L"QueryInterface", L"ICapeThermoPropertyPackage");
    return version10_.Get();
}

const CompoundList& Package::List() {
    if (list_) return *list_;
    _variant_t ids, formulae, names, boilTemps, molwts, casnos;
    CheckCape(compounds_->GetCompoundList(&ids, &formulae, &names, &boilTemps, &molwts, &casnos), compounds_.Get(),
              L"GetCompoundList", L"ICapeThermoCompounds");
    auto list = std::make_unique<CompoundList>();
    try {
        list->ids = host::ReadStrings(ids);
        list->formulae = OptionalStrings(formulae);
        list->boilingPoints = host::ReadDoubles(boilTemps);
        list->molecularWeights = host::ReadDoubles(molwts);
        list->casNumbers = OptionalStrings(casnos);
    } catch (const host::ValueError& error) {
        throw ProgramFailure(L"GetCompoundList returned an unexpected value: " + error.message());
    }
    list_ = std::move(list);
    return *list_;
}

host::CHostMaterial::Ptr Package::NewMaterial() {
    host::CHostMaterial::Ptr material = host::CHostMaterial::Create(CompoundIds());
    ComPtr<ICapeThermoMaterialContext> context;
    CheckCape(object_.As(&context), object_.Get(), L"QueryInterface", L"ICapeThermoMaterialContext");
    CheckCape(context->SetMaterial(material->Dispatch()), context.Get(), L"SetMaterial",
              L"ICapeThermoMaterialContext");
    materialSet_ = true;
    return material;
}

std::vector<std::wstring> Package::TakeMessages() {
    std::vector<std::wstring> messages;
    for (const auto& message : context_->Messages()) messages.push_back(message.text);
    context_->ClearMessages();
    return messages;
}

Api ApiOf(const Arguments& args) {
    const std::wstring api = args.Text(L"api").value_or(L"1.1");
    if (api == L"1.1") return Api::V11;
    if (api == L"1.0") return Api::V10;
    args.Refuse(L"--api: \"" + api + L"\" is neither 1.1 nor 1.0");
}

Server::Server(Api api) : context_(host::CHostSimulationContext::Create()) {
    const wchar_t* progId = api == Api::V10 ? kThermoSystemProgId : kManagerProgId;
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr))
        throw ProgramFailure(std::wstring(L"cannot find ") + progId + L" (is TARNEVO64.dll registered?): " +
                             SystemText(hr));
    ComPtr<IUnknown> object;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object));
    if (SUCCEEDED(hr)) hr = api == Api::V10 ? object.As(&system_) : object.As(&manager_);
    if (FAILED(hr)) throw ProgramFailure(std::wstring(L"cannot create ") + progId + L": " + SystemText(hr));
    ComPtr<ICapeUtilities> utilities;
    CheckCape(object.As(&utilities), object.Get(), L"QueryInterface", L"ICapeUtilities");
    CheckCape(utilities->put_simulationContext(context_->Dispatch()), utilities.Get(), L"simulationContext",
              L"ICapeUtilities");
    CheckCape(utilities->Initialize(), utilities.Get(), L"Initialize", L"ICapeUtilities");
}

Server::~Server() {
    ComPtr<ICapeUtilities> utilities;
    if (manager_ && SUCCEEDED(manager_.As(&utilities))) utilities->Terminate();
    if (system_ && SUCCEEDED(system_.As(&utilities))) utilities->Terminate();
}

std::vector<std::wstring> Server::PackageNames() {
    _variant_t names;
    if (system_)
        CheckCape(system_->GetPropertyPackages(&names), system_.Get(), L"GetPropertyPackages", kSystemInterface);
    else
        CheckCape(manager_->GetPropertyPackageList(&names), manager_.Get(), L"GetPropertyPackageList",
                  kManagerInterface);
    try {
        return host::ReadStrings(names);
    } catch (const host::ValueError& error) {
        throw ProgramFailure(L"GetPropertyPackageList returned an unexpected value: " + error.message());
    }
}

std::unique_ptr<Package> Server::Open(const std::wstring& name, const Arguments& args) {
    const std::vector<std::wstring> names = PackageNames();
    for (const std::wstring& listed : names) {
        if (host::EqualsNoCase(listed, name)) return OpenUnchecked(listed);
    }
    args.Refuse(L"unknown package \"" + name + L"\" (packages: " +
                (names.empty() ? std::wstring(L"none") : Join(names, L", ")) + L")");
}

std::unique_ptr<Package> Server::OpenUnchecked(const std::wstring& name) {
    ComPtr<IDispatch> object;
    if (system_)
        CheckCape(system_->ResolvePropertyPackage(_bstr_t(name.c_str()), object.GetAddressOf()), system_.Get(),
                  L"ResolvePropertyPackage", kSystemInterface);
    else
        CheckCape(manager_->GetPropertyPackage(_bstr_t(name.c_str()), object.GetAddressOf()), manager_.Get(),
                  L"GetPropertyPackage", kManagerInterface);
    if (!object) throw ProgramFailure(L"GetPropertyPackage returned no package for \"" + name + L"\"");
    return std::make_unique<Package>(name, std::move(object), context_);
}

void ReportMessages(Package& package) {
    for (const std::wstring& message : package.TakeMessages()) WriteErr(message + L"\n");
}

}  // namespace tarnevo::cli
