// tarnevo packages: the manager's package list.
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Commands.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Server.h"

namespace tarnevo::cli {

int RunPackages(const Words& words) {
    const Arguments args = Arguments::Parse(words, L"packages", {}, 0);
    Server server;
    Table packages{L"packages", {{L"name"}}};
    for (const std::wstring& name : server.PackageNames()) packages.Add({Cell(name)});
    WriteOut(Render({packages}, args.OutputFormat()));
    return 0;
}

}  // namespace tarnevo::cli
