// Seam between the package's Edit and the package editor dialog. The dialog plugs in
// with SetPackageEditor when the module loads; tests install a scripted editor. Programs
// built without the dialogs get one that behaves as Cancel.
#pragma once

#include <windows.h>

#include <string>

namespace tarnevo {

// Runs the editor modally on `definitionText`. True (OK) with the new text in `newText`,
// false on Cancel.
using PackageEditor = bool (*)(HWND owner, const std::string& definitionText, std::string& newText);

// Installs the editor; null restores the default.
void SetPackageEditor(PackageEditor editor) noexcept;

bool RunPackageEditor(HWND owner, const std::string& definitionText, std::string& newText);

// Shows a failure outside an error object: message box with the caption "TARNEVO:".
// Replaceable so that tests never block on a box (null restores the default).
using FailureBox = void (*)(HWND owner, const std::wstring& text);
void SetFailureBox(FailureBox box) noexcept;
void ShowFailureBox(HWND owner, const std::wstring& text) noexcept;

}  // namespace tarnevo
