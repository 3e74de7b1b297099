// tarnevo: a console CAPE-OPEN 1.1 host for TARNEVO property packages.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <new>

#include "com/OwnedHandles.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Commands.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Text.h"

using namespace tarnevo::cli;

namespace {

class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT Result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

struct Command {
    const wchar_t* name;
    int (*run)(const Words&);
};

const Command kCommands[] = {
    {L"packages", &RunPackages}, {L"new", &RunNew},     {L"show", &RunShow},         {L"props", &RunProps},
    {L"tdep", &RunTdep},         {L"flash", &RunFlash}, {L"envelope", &RunEnvelope}, {L"bench", &RunBench},
};

int Run(const Words& words) {
    if (words.empty()) throw UsageError(L"", L"no command given");
    if (words[0] == L"--help" || words[0] == L"help") {
        WriteOut(Utf8(UsageText() + L"\n"));
        return 0;
    }
    for (const Command& command : kCommands) {
        if (words[0] != command.name) continue;
        const Words rest(words.begin() + 1, words.end());
        for (const auto& word : rest) {
            if (word == L"--help") {
                WriteOut(Utf8(UsageLine(command.name) + L"\n"));
                return 0;
            }
        }
        return command.run(rest);
    }
    throw UsageError(L"", L"unknown command " + words[0]);
}

}  // namespace

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    int argc = 0;
    tarnevo::UniqueLocal<wchar_t*> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    Words words;
    for (int i = 1; argv && i < argc; ++i) words.emplace_back(argv.get()[i]);

    ComApartment apartment;
    if (FAILED(apartment.Result())) {
        WriteErr(L"tarnevo: COM cannot be initialised: " + SystemText(apartment.Result()) + L"\n");
        return 1;
    }
    try {
        return Run(words);
    } catch (const UsageError& error) {
        WriteErr(L"tarnevo: " + error.message() + L"\n" + UsageLine(error.command()) + L"\n");
        return 2;
    } catch (const CapeFailure& failure) {
        WriteErr(failure.Report());
        return 1;
    } catch (const ProgramFailure& failure) {
        WriteErr(L"tarnevo: " + failure.message() + L"\n");
        return 1;
    } catch (const std::bad_alloc&) {
        WriteErr(L"tarnevo: out of memory\n");
        return 1;
    }
}
