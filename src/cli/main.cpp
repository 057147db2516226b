// hourwright-cli: the schedule tools of HourWright for batch work.
#include "model/catalogue.hpp"

#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view kUsage = "Usage: hourwright-cli COMMAND [OPTION]...\n"
                                    "\n"
                                    "Commands:\n"
                                    "  actions   list the actions with their option fields\n"
                                    "\n"
                                    "  -h, --help  show this help and exit\n";

int listActions()
{
    for (const auto &action : hw::actionCatalogue()) {
        std::printf("%.*s\n", static_cast<int>(action.name.size()), action.name.data());
        for (const auto &spec : action.options)
            std::printf("  %2d %-18.*s %.*s\n", spec.field, static_cast<int>(spec.caption.size()),
                        spec.caption.data(), static_cast<int>(spec.defaultText.size()),
                        spec.defaultText.data());
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "-h" || command == "--help") {
        std::fputs(kUsage.data(), stdout);
        return 0;
    }
    if (command == "actions" && argc == 2)
        return listActions();
    std::fputs(kUsage.data(), stderr);
    return 2;
}
