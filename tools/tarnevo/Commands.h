// The commands of the program; each takes the words after its name and returns the exit code
// (0), or throws UsageError (2), CapeFailure or ProgramFailure (1).
#pragma once

#include <string>
#include <vector>

namespace tarnevo::cli {

using Words = std::vector<std::wstring>;

int RunPackages(const Words& words);
int RunNew(const Words& words);
int RunShow(const Words& words);
int RunProps(const Words& words);
int RunTdep(const Words& words);
int RunFlash(const Words& words);
int RunEnvelope(const Words& words);
int RunBench(const Words& words);

}  // namespace tarnevo::cli
