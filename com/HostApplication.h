// Identifies the host simulator from its executable name (cached for the module's life).
#pragma once

namespace tarnevo {

enum HostApplicationCode : int {
    HostOther = 0,
    HostAspenPlus = 1,   // apwin.exe, apmain.exe
    HostHysys = 2,       // hysys.exe
    HostProII = 3,       // proii.exe
    HostUniSim = 4,      // unisimdesign.exe
    HostVmgSim = 5,      // vintra.exe, vintra64.exe
};

// Host code of a process command line in its 8-bit form (null counts as empty).
int HostCodeFromCommandLine(const char* commandLine) noexcept;

// Host code of this process: computed from GetCommandLineA on the first call, then cached.
int GetHostApplication() noexcept;

}  // namespace tarnevo
