// What the package store needs from the user: a file named refprop.dll (or a cancel)
// and a way to show an error or an information message. Replaceable for tests.
#pragma once

#include <windows.h>

#include <string>

namespace tarnevo {

enum class FileChoice { Chosen, Cancelled, TooLong };

class StoreUserInterface {
public:
    virtual ~StoreUserInterface() = default;
    // The open-file dialog "Locate REFPROP dll:" pre-filled with `initialPath`.
    virtual FileChoice ChooseRefpropLibrary(HWND owner, const std::wstring& initialPath,
                                            std::wstring& chosenPath) = 0;
    virtual void ShowError(HWND owner, const std::wstring& text, const std::wstring& caption) = 0;
    virtual void ShowInformation(HWND owner, const std::wstring& text, const std::wstring& caption) = 0;
};

// The Win32 implementation: common open-file dialog and message boxes.
StoreUserInterface& SystemStoreUserInterface();

// Asks until the user picks a file named refprop.dll (any letter case) or cancels;
// a wrongly named file gives an error box and the dialog again. On success
// `folder` is the chosen path up to, not including, its last backslash.
bool AskForRefpropFolder(StoreUserInterface& ui, HWND owner, const std::wstring& initialPath,
                         std::wstring& folder);

}  // namespace tarnevo
