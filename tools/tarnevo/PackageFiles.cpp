#include "tools/tarnevo/PackageFiles.h"

#include "definition/KeyValueReader.h"
#include "definition/PackageStore.h"
#include "tools/host/VariantValues.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/Report.h"

namespace tarnevo::cli {
namespace {

class ConsoleStoreInterface : public StoreUserInterface {
public:
    FileChoice ChooseRefpropLibrary(HWND, const std::wstring&, std::wstring&) override { return FileChoice::Cancelled; }
    void ShowError(HWND, const std::wstring& text, const std::wstring&) override { WriteErr(text + L"\n"); }
    void ShowInformation(HWND, const std::wstring& text, const std::wstring&) override { Note(text); }
};

}  // namespace

void OpenPackageStore() {
    static ConsoleStoreInterface ui;
    SetStoreUserInterface(&ui);
    std::wstring message;
    if (!InitializeFolders(message)) throw ProgramFailure(message);
}

DefinitionSummary ReadDefinitionSummary(const std::wstring& packageName) {
    DefinitionSummary summary;
    KeyValueReader reader;
    std::wstring message;
    OpenPackageStore();
    if (!reader.ReadKeyValueFile(PackageFilePath(packageName), message)) return summary;
    for (const KeyValueEntry& entry : reader.entries()) {
        if (host::EqualsNoCase(entry.key, L"description")) summary.description = entry.value;
        if (entry.key == L"MODELTYPE") summary.modelType = entry.value;
    }
    return summary;
}

}  // namespace tarnevo::cli
