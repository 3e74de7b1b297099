// tarnevo new NAME --fluids ...: writes a package definition with the editor's writer into the
// package folder, then checks through the manager that the package initialises (a package
// that does not is removed again).
#include <windows.h>

#include "definition/FileAccess.h"
#include "definition/FluidCatalogue.h"
#include "definition/PackageDefinition.h"
#include "definition/PackageEditorModel.h"
#include "definition/PackageStore.h"
#include "tools/host/VariantValues.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Commands.h"
#include "tools/tarnevo/PackageFiles.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Server.h"
#include "tools/tarnevo/Text.h"

namespace tarnevo::cli {
namespace {

void CheckPackageName(const Arguments& args, const std::wstring& name) {
    if (name.empty()) args.Refuse(L"the package name is empty");
    if (name.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos || name.back() == L'.' || name.back() == L' ')
        args.Refuse(L"\"" + name + L"\" cannot be a package name (it names a file)");
}

std::wstring FileStem(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

// The catalogue entry a user's fluid name means: file name, fluid name, CAS number or synonym.
const FluidCatalogueEntry* FindFluid(const std::vector<FluidCatalogueEntry>& catalogue, const std::wstring& fluid) {
    for (const auto& entry : catalogue) {
        if (host::EqualsNoCase(FileStem(entry.filePath), fluid)) return &entry;
    }
    for (const auto& entry : catalogue) {
        if (host::EqualsNoCase(entry.name, fluid) || host::EqualsNoCase(entry.casNumber, fluid)) return &entry;
        for (const auto& synonym : entry.synonyms) {
            if (host::EqualsNoCase(synonym, fluid)) return &entry;
        }
    }
    return nullptr;
}

int ModelIndex(const Arguments& args) {
    const auto model = args.Text(L"model");
    if (!model) return 0;
    for (int i = 0; i < kModelTypeCount; ++i) {
        if (host::EqualsNoCase(*model, ModelTypeValue(i))) return i;
    }
    args.Refuse(L"--model: unknown model type \"" + *model + L"\" (DEFAULT, GERG, AGA, PR or CUSTOM)");
}

}  // namespace

int RunNew(const Words& words) {
    const Arguments args = Arguments::Parse(
        words, L"new", {{L"fluids", true}, {L"model", true}, {L"description", true}, {L"mix", true}}, 1);
    const std::wstring name = args.Positional(0);
    CheckPackageName(args, name);
    if (!args.Has(L"fluids")) args.Refuse(L"--fluids is missing");
    const std::vector<std::wstring> fluids = args.List(L"fluids");
    if (fluids.empty()) args.Refuse(L"At least one fluid must be present in package");

    PackageEditorModel model;
    model.modelTypeIndex = ModelIndex(args);
    model.description = args.Text(L"description").value_or(L"");
    if (auto mix = args.Text(L"mix")) model.mixtureFile = *mix;

    OpenPackageStore();
    std::wstring message;
    const std::wstring path = PackageFilePath(name);
    if (PathExists(path)) args.Refuse(L"a package named \"" + name + L"\" already exists (" + path + L")");

    const std::wstring fluidFolder = RefpropFolder() + L"\\fluids";
    const std::vector<FluidCatalogueEntry> catalogue = ScanFluidFolder(fluidFolder);
    for (const std::wstring& fluid : fluids) {
        const FluidCatalogueEntry* entry = FindFluid(catalogue, fluid);
        if (!entry) args.Refuse(L"unknown fluid \"" + fluid + L"\" (no fluid file for it in " + fluidFolder + L")");
        const std::wstring compound = CompoundStringForFluidFile(entry->filePath, RefpropFolder());
        for (const std::wstring& earlier : model.compounds) {
            if (host::EqualsNoCase(earlier, compound)) args.Refuse(L"fluid \"" + fluid + L"\" is listed twice");
        }
        model.compounds.push_back(compound);
    }

    std::string text;
    if (!WritePackageDefinition(model, text, message)) args.Refuse(message);
    if (!WriteWholeFile(path, text, L"Failed to write " + path + L": ", message)) throw ProgramFailure(message);

    // The package must initialise; otherwise it is not kept.
    size_t compoundCount = 0;
    try {
        Server server;
        std::unique_ptr<Package> package = server.OpenUnchecked(name);
        compoundCount = package->CompoundIds().size();
        ReportMessages(*package);
    } catch (...) {
        DeleteFileW(path.c_str());
        WriteErr(L"tarnevo: package \"" + name + L"\" does not initialise; its file was removed\n");
        throw;
    }

    Table created{L"created", {{L"package"}, {L"model"}, {L"compounds", true}, {L"file"}}};
    created.Add({Cell(name), Cell(ModelTypeValue(model.modelTypeIndex)), Cell(static_cast<double>(compoundCount)),
                 Cell(path)});
    WriteOut(Render({created}, args.OutputFormat()));
    return 0;
}

}  // namespace tarnevo::cli
