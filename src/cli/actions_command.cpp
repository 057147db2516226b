#include "cli/commands.hpp"

#include "model/catalogue.hpp"

#include <cstdio>

namespace hw::cli {

int runActions(Args args)
{
    if (!args.empty() && (args[0] == "-h" || args[0] == "--help")) {
        std::fputs("Usage: hourwright-cli actions\n"
                   "List the actions in the order of the action list, each with the option\n"
                   "fields it stores in a task entry: field number, caption and default.\n",
                   stdout);
        return 0;
    }
    if (!args.empty()) {
        std::fputs("hourwright-cli actions: takes no arguments\n", stderr);
        return 2;
    }
    for (const auto &action : actionCatalogue()) {
        std::printf("%.*s\n", static_cast<int>(action.name.size()), action.name.data());
        for (const auto &spec : action.options)
            std::printf("  %2d %-18.*s %.*s\n", spec.field, static_cast<int>(spec.caption.size()),
                        spec.caption.data(), static_cast<int>(spec.defaultText.size()),
                        spec.defaultText.data());
    }
    return 0;
}

} // namespace hw::cli
