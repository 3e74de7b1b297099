#include "package/PackageEditorSeam.h"

namespace tarnevo {
namespace {

void SystemFailureBox(HWND owner, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), L"TARNEVO:", MB_OK | MB_ICONERROR);
}

// Until the dialogs install themselves (programs built without them), editing is cancelled.
bool NoEditor(HWND, const std::string&, std::string&) { return false; }

PackageEditor g_editor = &NoEditor;
FailureBox g_failureBox = &SystemFailureBox;

}  // namespace

void SetPackageEditor(PackageEditor editor) noexcept { g_editor = editor ? editor : &NoEditor; }

bool RunPackageEditor(HWND owner, const std::string& definitionText, std::string& newText) {
    return g_editor(owner, definitionText, newText);
}

void SetFailureBox(FailureBox box) noexcept { g_failureBox = box ? box : &SystemFailureBox; }

void ShowFailureBox(HWND owner, const std::wstring& text) noexcept {
    try {
        g_failureBox(owner, text);
    } catch (...) {
    }
}

}  // namespace tarnevo
