#include "cli/command_line.hpp"
#include "cli/commands.hpp"

#include "generator/central_script.hpp"
#include "platform/guid.hpp"

namespace hw::cli {
namespace {

constexpr std::string_view kCommand = "central";

constexpr std::string_view kHelp =
    "Usage: hourwright-cli central\n"
    "Print a central timing script template under a fresh name. It notices each\n"
    "change of the game hour; put one StartScript line into it for each schedule\n"
    "script made with 'hourwright-cli schedule --global'.\n";

} // namespace

int runCentral(Args args)
{
    if (const auto status = helpOrUsageError(kCommand, args, kHelp))
        return *status;
    return writeOrFail(kCommand, centralScript(newGuid()));
}

} // namespace hw::cli
