#include "tests/dialogs/DialogDriver.h"

#include <commctrl.h>

#include <atomic>
#include <memory>
#include <cstdio>
#include <stdexcept>
#include <thread>

namespace tarnevo_test {
namespace {

struct Search {
    const std::wstring* title;
    HWND owner;
    bool messageBox;  // only windows with a message box's text (item 0xFFFF)
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window)) return TRUE;
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    bool matches = search.owner ? GetWindow(window, GW_OWNER) == search.owner : *search.title == text;
    matches = matches && (!search.messageBox || GetDlgItem(window, 0xFFFF));
    if (matches) search.found = window;
    return matches ? FALSE : TRUE;
}

[[noreturn]] void Fail(const std::wstring& what) {
    std::string narrow;
    for (wchar_t c : what) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    throw std::runtime_error(narrow);
}

BOOL CALLBACK CancelWindow(HWND window, LPARAM) {
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}  // namespace

HWND DialogDriver::Wait(const std::wstring& title, HWND owner, bool messageBox) const {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        Search search = {&title, owner, messageBox, nullptr};
        EnumThreadWindows(uiThread_, &Match, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(20);
    }
    Fail(L"no window \"" + title + L"\"");
}

void DialogDriver::WaitClosed(HWND window) const {
    for (int attempt = 0; attempt < 1000 && IsWindow(window) && IsWindowVisible(window); ++attempt) Sleep(20);
    if (IsWindow(window) && IsWindowVisible(window)) Fail(L"window \"" + Text(window) + L"\" stays open");
}

void DialogDriver::Press(HWND dialog, int id) const {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void DialogDriver::Command(HWND dialog, int id, int code) const {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring DialogDriver::Text(HWND window) const {
    wchar_t text[4096] = {};
    SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

void DialogDriver::Type(HWND dialog, int id, const std::wstring& text) const {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::wstring> DialogDriver::Items(HWND dialog, int id) const {
    std::vector<std::wstring> items;
    const HWND list = GetDlgItem(dialog, id);
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[1024] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

void DialogDriver::Select(HWND dialog, int id, int index) const {
    SendMessageW(GetDlgItem(dialog, id), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Command(dialog, id, LBN_SELCHANGE);
}

std::vector<std::wstring> DialogDriver::Rows(HWND dialog, int id, int column) const {
    std::vector<std::wstring> rows;
    const HWND list = GetDlgItem(dialog, id);
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[1024] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 1024;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        rows.emplace_back(text);
    }
    return rows;
}

void DialogDriver::SelectRow(HWND dialog, int id, int row) const {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(GetDlgItem(dialog, id), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::wstring DialogDriver::Answer(const std::wstring& caption, int answer) const {
    const HWND box = Wait(caption, nullptr, true);
    const std::wstring text = ItemText(box, 0xFFFF);
    Press(box, answer);
    WaitClosed(box);
    return text;
}

void DialogDriver::Enter(const std::wstring& prompt, const std::wstring& text, bool ok) const {
    const HWND input = Wait(prompt);
    Type(input, 220, text);
    Press(input, ok ? IDOK : IDCANCEL);
    WaitClosed(input);
}

void DialogDriver::Shot(HWND window, const std::wstring& name) const {
    const wchar_t* folder = _wgetenv(L"TARNEVO_SHOTS");
    if (!folder) return;
    Sleep(300);  // let the window finish painting
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    BITMAPINFOHEADER info = {sizeof(info), width, -height, 1, 24, BI_RGB};
    std::string pixels(static_cast<size_t>((width * 3 + 3) & ~3) * height, '\0');
    GetDIBits(memory, bitmap, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof(file) + sizeof(info) + pixels.size()), 0, 0,
                             sizeof(file) + sizeof(info)};
    if (FILE* out = _wfopen((std::wstring(folder) + L"\\" + name + L".bmp").c_str(), L"wb")) {
        fwrite(&file, sizeof(file), 1, out);
        fwrite(&info, sizeof(info), 1, out);
        fwrite(pixels.data(), 1, pixels.size(), out);
        fclose(out);
    }
}

std::vector<std::string> DriveDialogs(const std::function<void()>& show,
                                      const std::function<void(DialogDriver&)>& script) {
    std::vector<std::string> failures;
    std::atomic<bool> shown(false);
    const DWORD uiThread = GetCurrentThreadId();
    DialogDriver driver(uiThread);
    const HDESK desktop = GetThreadDesktop(uiThread);
    std::thread user([&] {
        SetThreadDesktop(desktop);  // windows are listed on the thread's own desktop
        try {
            script(driver);
            for (int attempt = 0; attempt < 500 && !shown; ++attempt) Sleep(20);
            if (!shown) throw std::runtime_error("windows left open after the script");
        } catch (const std::exception& failure) {
            failures.push_back(failure.what());
            while (!shown) {
                EnumThreadWindows(uiThread, &CancelWindow, 0);
                Sleep(50);
            }
        }
    });
    show();
    shown = true;
    user.join();
    return failures;
}

int RunOnOwnDesktop() {
    const std::wstring name = L"tarnevo-dialogs-" + std::to_wstring(GetCurrentProcessId());
    const std::unique_ptr<HDESK__, decltype(&CloseDesktop)> desktop(
        CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr), &CloseDesktop);
    SetEnvironmentVariableW(L"TARNEVO_DIALOG_DESKTOP", name.c_str());
    // Wine makes it a virtual desktop: it draws title bars, and hiding a window does not
    // wait for a window manager that Xvfb does not have.
    const wchar_t desktops[] = L"Software\\Wine\\Explorer\\Desktops";
    const wchar_t size[] = L"1024x768";
    RegSetKeyValueW(HKEY_CURRENT_USER, desktops, name.c_str(), REG_SZ, size, sizeof(size));
    const std::unique_ptr<const wchar_t, std::function<void(const wchar_t*)>> sizeEntry(
        name.c_str(), [&](const wchar_t* entry) { RegDeleteKeyValueW(HKEY_CURRENT_USER, desktops, entry); });
    std::wstring desktopName = name;
    std::wstring command = GetCommandLineW();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = &desktopName[0];
    PROCESS_INFORMATION child = {};
    if (!desktop || !CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
        return 1;
    const std::unique_ptr<void, decltype(&CloseHandle)> process(child.hProcess, &CloseHandle);
    const std::unique_ptr<void, decltype(&CloseHandle)> thread(child.hThread, &CloseHandle);
    DWORD code = 1;
    WaitForSingleObject(child.hProcess, INFINITE);
    GetExitCodeProcess(child.hProcess, &code);
    return static_cast<int>(code);
}

}  // namespace tarnevo_test
