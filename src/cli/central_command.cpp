#include "cli/commands.hpp"
#include "cli/stream_io.hpp"

#include "generator/central_script.hpp"
#include "platform/guid.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace hw::cli {

int runCentral(Args args)
{
    if (!args.empty() && (args[0] == "-h" || args[0] == "--help")) {
        std::fputs("Usage: hourwright-cli central\n"
                   "Print a central timing script template under a fresh name. It notices each\n"
                   "change of the game hour; put one StartScript line into it for each schedule\n"
                   "script made with 'hourwright-cli schedule --global'.\n",
                   stdout);
        return 0;
    }
    if (!args.empty()) {
        std::fputs("hourwright-cli central: takes no arguments\n"
                   "Usage: hourwright-cli central\n",
                   stderr);
        return 2;
    }
    if (!writeOutput(centralScript(newGuid()))) {
        std::fprintf(stderr, "hourwright-cli: cannot write the script: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

} // namespace hw::cli
