#include "definition/StoreUserInterface.h"

#include <commdlg.h>
#include <cderr.h>

#include <vector>

#include "definition/AnsiText.h"

namespace tarnevo {

namespace {

constexpr DWORD kFileNameBufferLength = 520;

class SystemUserInterface final : public StoreUserInterface {
public:
    FileChoice ChooseRefpropLibrary(HWND owner, const std::wstring& initialPath,
                                    std::wstring& chosenPath) override {
        std::vector<wchar_t> buffer(kFileNameBufferLength, L'\0');
        const std::wstring initial =
            initialPath.size() < kFileNameBufferLength ? initialPath : std::wstring(L"refprop.dll");
        initial.copy(buffer.data(), initial.size());
        OPENFILENAMEW dialog = {};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = L"*.dll (*.dll)\0*.dll\0\0";
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = kFileNameBufferLength;
        dialog.lpstrTitle = L"Locate REFPROP dll:";
        // The host's current directory is left alone.
        dialog.Flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
        if (GetOpenFileNameW(&dialog)) {
            chosenPath.assign(buffer.data());
            return FileChoice::Chosen;
        }
        return CommDlgExtendedError() == FNERR_BUFFERTOOSMALL ? FileChoice::TooLong : FileChoice::Cancelled;
    }

    void ShowError(HWND owner, const std::wstring& text, const std::wstring& caption) override {
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    }

    void ShowInformation(HWND owner, const std::wstring& text, const std::wstring& caption) override {
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
    }
};

}  // namespace

StoreUserInterface& SystemStoreUserInterface() {
    static SystemUserInterface ui;
    return ui;
}

bool AskForRefpropFolder(StoreUserInterface& ui, HWND owner, const std::wstring& initialPath,
                         std::wstring& folder) {
    for (;;) {
        std::wstring chosen;
        switch (ui.ChooseRefpropLibrary(owner, initialPath, chosen)) {
            case FileChoice::Cancelled:
                return false;
            case FileChoice::TooLong:
                ui.ShowError(owner, L"The path of the selected file is too long (at most 519 characters)",
                             L"Error:");
                continue;
            case FileChoice::Chosen:
                break;
        }
        const size_t slash = chosen.find_last_of(L'\\');
        const std::wstring name = slash == std::wstring::npos ? chosen : chosen.substr(slash + 1);
        if (!EqualsNoCase(name, L"refprop.dll") || slash == std::wstring::npos) {
            ui.ShowError(owner, L"The selected DLL must be called \"refprop.dll\"", L"Error:");
            continue;
        }
        folder = chosen.substr(0, slash);
        return true;
    }
}

}  // namespace tarnevo
