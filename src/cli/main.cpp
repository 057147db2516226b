// hourwright-cli: HourWright's schedule tools for batch work.
#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "model/utf8.hpp"
#include "version.hpp"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using hw::cli::Args;

struct Command
{
    std::string_view name;
    int (*run)(Args);
    std::string_view summary;
};

// One row a command; `hourwright-cli --help` lists them in this order.
constexpr Command kCommands[] = {
    {"actions", hw::cli::runActions, "list the actions with their option fields"},
    {"schedule", hw::cli::runSchedule, "print the schedule script for a list of task entries"},
    {"central", hw::cli::runCentral, "print a central timing script template"},
    {"npcs", hw::cli::runNpcs, "print the NPC ids of ESM and ESP files"},
    {"ids", hw::cli::runIds, "print the ids of one kind as ESM and ESP files combine"},
    {"loadorder", hw::cli::runLoadOrder, "print the game's content files in load order"},
    {"plugin", hw::cli::runPlugin, "write the schedules of task lists into a plugin"},
};

std::string usage()
{
    std::string text = "Usage: hourwright-cli COMMAND [OPTION]... [ARG]...\n\nCommands:\n";
    for (const auto &c : kCommands)
        text.append("  ")
            .append(c.name)
            .append(std::max<std::size_t>(12, c.name.size() + 1) - c.name.size(), ' ')
            .append(c.summary) += '\n';
    return text +
        "\nOptions:\n"
        "  -h, --help  print this help\n"
        "  --version   print the version\n"
        "\nRun 'hourwright-cli COMMAND --help' for a command's options.\n";
}

// Runs a command; whatever it throws ends it with a message, never with an
// abort: running out of memory on a huge input included.
int runGuarded(const Command &command, Args args)
{
    try {
        return command.run(args);
    } catch (const std::bad_alloc &) {
        hw::cli::tell(command.name, "out of memory; the input is too large");
    } catch (const std::exception &error) {
        hw::cli::tell(command.name, std::string("internal error: ") + error.what());
    }
    return 1;
}

// The arguments after the program's name, as UTF-8. Windows hands main() its
// arguments in the system's code page, which cannot hold every file name or
// NPC id; the wide command line can.
std::vector<std::string> utf8Arguments([[maybe_unused]] int argc, [[maybe_unused]] char **argv)
{
#ifdef _WIN32
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) {
        // wchar_t is a UTF-16 code unit on Windows.
        args.push_back(hw::utf8FromUtf16(reinterpret_cast<const char16_t *>(wide[i])));
    }
    LocalFree(wide);
    return args;
#else
    return {argv + 1, argv + argc};
#endif
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> utf8 = utf8Arguments(argc, argv);
    const std::vector<std::string_view> args(utf8.begin(), utf8.end());
    if (args.empty()) {
        hw::cli::tell({}, "no COMMAND given");
        std::fputs(usage().c_str(), stderr);
        return 2;
    }
    if (args[0] == "-h" || args[0] == "--help")
        return hw::cli::writeOrFail({}, usage());
    if (args[0] == "--version")
        return hw::cli::writeOrFail({}, std::string("hourwright-cli ") + hw::kVersion + "\n");
    for (const auto &c : kCommands)
        if (c.name == args[0])
            return runGuarded(c, Args(args).subspan(1));
    hw::cli::tell({}, "unknown command '" + std::string(args[0]) + "'");
    std::fputs(usage().c_str(), stderr);
    return 2;
}
