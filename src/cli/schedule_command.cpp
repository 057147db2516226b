#include "cli/commands.hpp"
#include "cli/entry_reader.hpp"
#include "cli/stream_io.hpp"

#include "generator/messages.hpp"
#include "generator/schedule_script.hpp"
#include "model/task_list.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace hw::cli {
namespace {

constexpr const char *kUsage =
    "Usage: hourwright-cli schedule --npc ID [--global] [--equal] [FILE|-]\n";

constexpr const char *kHelp =
    "Print the schedule script of the NPC ID for the task entries in FILE, or in\n"
    "standard input when FILE is - or missing. Each line holds one entry in the\n"
    "form of the task list, for example\n"
    "  06:00 > Travel > 100/200/0\n"
    "  12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"\n"
    "Blank lines are skipped; the entries are sorted as the task list sorts them.\n"
    "The script is written with CR LF line ends, ready for the game's script editor.\n"
    "\n"
    "Options:\n"
    "  --npc ID    the NPC's id, quoted in every command of the script\n"
    "  --global    for a script that a central script starts once an hour:\n"
    "              no guards of its own, and it stops itself at its end\n"
    "  --equal     test every hour condition for equality\n"
    "  -h, --help  show this help and exit\n"
    "\n"
    "Exit status: 0 when the script was printed, 1 when the input was refused,\n"
    "2 for wrong usage.\n";

struct Options
{
    std::string_view npcId; ///< empty when not given: the window's empty name box
    ScheduleSwitches switches;
    std::string_view file = "-";
    bool help = false;
};

void fail(const std::string &message)
{
    std::fprintf(stderr, "hourwright-cli: %s\n", message.c_str());
}

int usageError(const std::string &message)
{
    std::fprintf(stderr, "hourwright-cli schedule: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// Parses the arguments; returns the exit status of a usage error, if any.
std::optional<int> parse(Args args, Options &options)
{
    bool haveFile = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (!optionsEnded && arg.size() > 1 && arg.starts_with('-')) {
            if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "-h" || arg == "--help") {
                options.help = true;
            } else if (arg == "--global") {
                options.switches.global = true;
            } else if (arg == "--equal") {
                options.switches.equality = true;
            } else if (arg == "--npc") {
                if (i + 1 == args.size())
                    return usageError("option '--npc' needs an NPC id");
                options.npcId = args[++i];
            } else if (arg.starts_with("--npc=")) {
                options.npcId = arg.substr(6);
            } else {
                return usageError("unknown option '" + std::string(arg) + "'");
            }
        } else if (haveFile) {
            return usageError("only one FILE may be given");
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    return std::nullopt;
}

// The bytes of the named file, or of standard input for "-".
std::optional<std::string> readInput(std::string_view file)
{
    if (file == "-") {
        auto bytes = readAll(stdin);
        if (!bytes)
            fail("cannot read standard input: " + std::string(std::strerror(errno)));
        return bytes;
    }
    const std::string path(file);
    std::FILE *in = openForReading(argumentPath(file));
    if (!in) {
        fail(path + ": cannot open: " + std::strerror(errno));
        return std::nullopt;
    }
    auto bytes = readAll(in);
    const int error = errno;
    std::fclose(in);
    if (!bytes)
        fail(path + ": cannot read: " + std::strerror(error));
    return bytes;
}

} // namespace

int runSchedule(Args args)
{
    Options options;
    if (const auto status = parse(args, options))
        return *status;
    if (options.help) {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return 0;
    }

    // The window's checks on the name come first, as they do there.
    const std::string_view npcId = options.npcId;
    if (const auto message = scheduleCheck(npcId, 1)) {
        fail(std::string(*message));
        return 1;
    }

    const auto input = readInput(options.file);
    if (!input)
        return 1;
    TaskEntries read = readTaskEntries(*input);
    const std::string fileName = options.file == "-" ? "<stdin>" : std::string(options.file);
    for (const auto &problem : read.problems)
        fail(fileName + ":" + std::to_string(problem.line) + ": " + problem.what);
    if (!read.problems.empty())
        return 1;
    if (const auto message = scheduleCheck(npcId, read.entries.size())) {
        fail(std::string(*message));
        return 1;
    }

    // The task list keeps its lines sorted; equal lines stay in the order added.
    std::stable_sort(read.entries.begin(), read.entries.end(), entryLess);
    const ScheduleScript script = generateSchedule(npcId, read.entries, options.switches);
    for (std::size_t i = 0; i < script.unknownEntries.size(); ++i)
        fail(std::string(kCommandDataNotFound));
    if (!writeOutput(script.text)) {
        fail("cannot write the script: " + std::string(std::strerror(errno)));
        return 1;
    }
    return script.unknownEntries.empty() ? 0 : 1;
}

} // namespace hw::cli
