#include "tests/dialogs/DialogDriver.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <thread>

namespace tarnevo_test {
namespace {

struct Search {
    const std::wstring& title;
    HWND owner;
    bool messageBox;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    const bool matches = IsWindowVisible(window) && (!search.messageBox || GetDlgItem(window, 0xFFFF)) &&
                         (search.owner ? GetWindow(window, GW_OWNER) == search.owner : search.title == text);
    if (matches) search.found = window;
    return !matches;
}

BOOL CALLBACK Cancel(HWND window, LPARAM) { return PostMessageW(window, WM_COMMAND, IDCANCEL, 0); }

}  // namespace

HWND DialogDriver::Wait(const std::wstring& title, HWND owner, bool messageBox) const {
    for (int attempt = 0; attempt < 1000; ++attempt, Sleep(20)) {
        Search search = {title, owner, messageBox, nullptr};
        EnumThreadWindows(uiThread_, &Match, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
    }
    throw std::runtime_error("no window " + std::string(title.begin(), title.end()));
}

void DialogDriver::WaitClosed(HWND window) const {
    for (int attempt = 0; attempt < 1000 && IsWindowVisible(window); ++attempt) Sleep(20);
    if (IsWindowVisible(window)) throw std::runtime_error("a window stays open");
}

std::wstring DialogDriver::ItemText(HWND dialog, int id) const {
    wchar_t text[4096] = {};
    SendDlgItemMessageW(dialog, id, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<std::wstring> DialogDriver::Texts(HWND dialog, int id, int column) const {
    const bool listBox = column < 0;
    std::vector<std::wstring> texts(
        static_cast<size_t>(SendDlgItemMessageW(dialog, id, listBox ? LB_GETCOUNT : LVM_GETITEMCOUNT, 0, 0)));
    for (size_t i = 0; i < texts.size(); ++i) {
        wchar_t text[1024] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 1024;
        SendDlgItemMessageW(dialog, id, listBox ? LB_GETTEXT : LVM_GETITEMTEXTW, i,
                            listBox ? reinterpret_cast<LPARAM>(text) : reinterpret_cast<LPARAM>(&item));
        texts[i] = text;
    }
    return texts;
}

std::wstring DialogDriver::Answer(const std::wstring& caption, int answer) const {
    const HWND box = Wait(caption, nullptr, true);
    const std::wstring text = ItemText(box, 0xFFFF);
    Press(box, answer);
    WaitClosed(box);
    return text;
}

void DialogDriver::Enter(const std::wstring& prompt, const std::wstring& text) const {
    const HWND input = Wait(prompt);
    Type(input, 220, text);
    Shot(input, L"input");
    Press(input, IDOK);
    WaitClosed(input);
}

void DialogDriver::Shot(HWND window, const std::wstring& name) const {
    const wchar_t* folder = _wgetenv(L"TARNEVO_SHOTS");
    const std::wstring picture = std::wstring(folder ? folder : L"") + L"\\" + name + L".png";
    if (!folder || GetFileAttributesW(picture.c_str()) != INVALID_FILE_ATTRIBUTES) return;  // the first one counts
    Sleep(300);  // painting
    RECT r;
    GetWindowRect(window, &r);
    std::printf("shot %ls %ldx%ld+%ld+%ld\n", name.c_str(), r.right - r.left, r.bottom - r.top, r.left, r.top);
    std::fflush(stdout);
    for (int attempt = 0; attempt < 500 && GetFileAttributesW(picture.c_str()) == INVALID_FILE_ATTRIBUTES; ++attempt)
        Sleep(20);
}

std::vector<std::string> DriveDialogs(const std::function<void()>& show,
                                      const std::function<void(DialogDriver&)>& script) {
    std::vector<std::string> failures;
    std::atomic<bool> shown(false);
    const DWORD uiThread = GetCurrentThreadId();
    const HDESK desktop = GetThreadDesktop(uiThread);
    std::thread user([&] {
        SetThreadDesktop(desktop);  // windows are listed on the thread's own desktop
        DialogDriver driver(uiThread);
        try {
            script(driver);
            for (int attempt = 0; attempt < 500 && !shown; ++attempt) Sleep(20);
            if (!shown) throw std::runtime_error("windows left open after the script");
        } catch (const std::exception& failure) {
            failures.push_back(failure.what());
            for (; !shown; Sleep(50)) EnumThreadWindows(uiThread, &Cancel, 0);
        }
    });
    show();
    shown = true;
    user.join();
    return failures;
}

}  // namespace tarnevo_test
