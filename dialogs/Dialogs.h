// Entry points of the configuration dialogs. Each runs modally, owned by `owner`, and
// catches everything it raises (a failure is shown in a box owned by `owner`). The
// manager and the package (through their seams) and any other COM class call these.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "definition/ModelOptions.h"

namespace tarnevo {

// The package manager dialog: lists, creates, edits, renames, copies and deletes the
// package files and changes the REFPROP folder. The store must be established.
void ShowPackageManagerDialog(HWND owner) noexcept;

// The package editor on `definitionText` (empty or "#NEW" for a new package). True on
// OK with the checked definition in `newText`; false on Cancel.
bool ShowPackageEditorDialog(HWND owner, const std::string& definitionText, std::string& newText) noexcept;

// The input dialog with `prompt` as its title and `text` as the initial value. True on
// OK with the entered text in `text`.
bool AskForText(HWND owner, const std::wstring& prompt, std::wstring& text);

// The add-compounds dialog on the REFPROP folder's "fluids" folder. True on OK with the
// full paths of the chosen fluid files, in list order.
bool ChooseFluidFiles(HWND owner, std::vector<std::wstring>& files);

// The model options dialog: 1 OK (selections changed in `data`), 2 Cancel, 219 Defaults.
int ShowModelOptionsDialog(HWND owner, ModelOptionsDialogData& data);

// The list picker at screen position `at`: 1 with the chosen `index`, or 2 (index -1).
int PickFromList(HWND owner, const std::vector<std::wstring>& texts, int& index, POINT at);

// Opens TARNEVO.chm beside the module in the HTML Help viewer, or says it cannot.
void ShowHelpFile(HWND owner);

}  // namespace tarnevo
