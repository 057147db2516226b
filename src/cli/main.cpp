// hourwright-cli: HourWright's schedule tools for batch work.
#include "cli/commands.hpp"
#include "cli/stream_io.hpp"
#include "version.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Command
{
    std::string_view name;
    int (*run)(hw::cli::Args);
    std::string_view summary;
};

constexpr Command kCommands[] = {
    {"actions", hw::cli::runActions, "list the actions with their option fields"},
    {"schedule", hw::cli::runSchedule, "print the schedule script for a list of task entries"},
    {"central", hw::cli::runCentral, "print a central timing script template"},
    {"npcs", hw::cli::runNpcs, "print the NPC ids of ESM and ESP files"},
    {"ids", hw::cli::runIds, "print the ids of one kind as ESM and ESP files combine"},
    {"loadorder", hw::cli::runLoadOrder, "print the game's content files in load order"},
};

void printUsage(std::FILE *to)
{
    std::fputs("Usage: hourwright-cli COMMAND [OPTION]... [ARG]...\n\nCommands:\n", to);
    for (const auto &c : kCommands)
        std::fprintf(to, "  %-10.*s %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                     static_cast<int>(c.summary.size()), c.summary.data());
    std::fputs("\nOptions:\n"
               "  -h, --help  print this help\n"
               "  --version   print the version\n"
               "\nRun 'hourwright-cli COMMAND --help' for a command's options.\n",
               to);
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
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
        arg.pop_back(); // the NUL
        args.push_back(std::move(arg));
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
        printUsage(stderr);
        return 2;
    }
    if (args[0] == "-h" || args[0] == "--help") {
        printUsage(stdout);
        return 0;
    }
    if (args[0] == "--version") {
        if (!hw::cli::writeOutput(std::string("hourwright-cli ") + hw::kVersion + "\n")) {
            std::fprintf(stderr, "hourwright-cli: cannot write the version: %s\n",
                         std::strerror(errno));
            return 1;
        }
        return 0;
    }
    for (const auto &c : kCommands)
        if (c.name == args[0])
            return c.run(hw::cli::Args(args).subspan(1));
    std::fprintf(stderr, "hourwright-cli: unknown command '%.*s'\n\n",
                 static_cast<int>(args[0].size()), args[0].data());
    printUsage(stderr);
    return 2;
}
