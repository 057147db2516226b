#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "cli/entry_reader.hpp"
#include "cli/stream_io.hpp"

#include "generator/messages.hpp"
#include "generator/schedule_script.hpp"
#include "model/caseless.hpp"
#include "model/task_list.hpp"

#include <string>
#include <variant>

namespace hw::cli {
namespace {

constexpr std::string_view kCommand = "schedule";

constexpr std::string_view kHelp =
    "Usage: hourwright-cli schedule --npc ID [--global] [--equal] [--encoding PAGE] [FILE|-]\n"
    "Print the schedule script of the NPC ID for the task entries in FILE, or in\n"
    "standard input when FILE is - or missing. Each line holds one entry in the\n"
    "form of the task list; action names may be in any letter case, and numbers\n"
    "in any form the window's number fields take, normalised as Add Task does:\n"
    "  06:00 > Travel > 100/200/0\n"
    "  06:00 > start running\n"
    "  12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"\n"
    "  18:00 > Wander > 1e3/4/&H10/10//10/10/10/10/10/-\n"
    "Blank lines and a UTF-8 byte-order mark are skipped; the entries are sorted\n"
    "as the task list sorts them, equal entries in the order given. The script is\n"
    "written with CR LF line ends, ready for the game's script editor.\n"
    "\n"
    "Options:\n"
    "  --npc ID           the NPC's id, quoted in every command of the script\n"
    "  --global           for a script that a central script starts once an hour:\n"
    "                     no guards of its own, and it stops itself at its end\n"
    "  --equal            test every hour condition for equality\n"
    "  --encoding PAGE    write the script in the game's code page: windows-1252\n"
    "                     (English, German, French), windows-1251 (Russian) or\n"
    "                     windows-1250 (Polish); utf-8 (the default) as it is\n"
    "  -h, --help         show this help and exit\n"
    "\n"
    "Exit status: 0 when the script was printed, 1 when the input was refused,\n"
    "2 for wrong usage.\n";

constexpr KnownOption kOptions[] = {
    {"--npc", {}, true}, {"--global"}, {"--equal"}, {"--encoding", {}, true}};

struct Options
{
    std::string_view npcId;
    ScheduleSwitches switches;
    std::optional<CodePage> page; ///< nothing: UTF-8
    std::string_view file = "-";
};

// The options, or the exit status of wrong usage or of the help.
std::variant<Options, int> parse(Args args)
{
    const ParsedArgs parsed = parseArgs(args, kOptions);
    if (!parsed.error.empty())
        return usageError(kCommand, parsed.error);
    if (parsed.help)
        return writeOrFail(kCommand, kHelp);
    Options options;
    // An empty id is the window's empty name box; no id at all is wrong usage.
    const auto npcId = parsed.value("--npc");
    if (!npcId)
        return usageError(kCommand, "option '--npc' is missing: name the NPC whose script it is");
    options.npcId = *npcId;
    options.switches = {parsed.has("--global"), parsed.has("--equal")};
    if (const auto name = parsed.value("--encoding"); name && !caselessEqual(*name, "utf-8")) {
        options.page = codePageFromName(*name);
        if (!options.page)
            return usageError(kCommand, unknownEncoding(*name));
    }
    if (parsed.operands.size() > 1)
        return usageError(kCommand, "only one FILE may be given");
    if (!parsed.operands.empty())
        options.file = parsed.operands.front();
    return options;
}

std::string cannotOpen(const std::error_code &error)
{
    if (error == FileError::NotRegularFile)
        return "is not a regular file; send a pipe or a device to standard input (-) instead";
    if (error == std::errc::is_a_directory)
        return "is a folder, not a file";
    return "cannot open: " + error.message();
}

// The entries of the input, or nothing after telling what was refused.
std::optional<std::vector<std::string>> readInput(const Options &options)
{
    const bool standardInput = options.file == "-";
    const std::string name = standardInput ? "(standard input)" : std::string(options.file);
    const auto report = [&](std::size_t line, std::string_view problem) {
        tell(kCommand,
             name + (line > 0 ? ":" + std::to_string(line) : "") + ": " + std::string(problem));
    };
    if (standardInput)
        return readTaskEntries(readStandardInput(), options.page, report);
    // A pipe or a device is not opened: a FIFO would wait for a writer, and
    // /dev/zero has no end. Standard input takes them.
    const auto path = argumentPath(options.file);
    std::error_code error;
    const auto file = FileSource::open(path, error);
    if (!file) {
        tell(kCommand, name + ": " + cannotOpen(error));
        return std::nullopt;
    }
    return readTaskEntries(readInOrder(*file), options.page, report);
}

// The name's own checks come first, before the input is read, as in the window.
bool checkName(const Options &options)
{
    if (const auto message = scheduleCheck(options.npcId, 1)) {
        tell(kCommand, *message);
        return false;
    }
    if (options.page) {
        if (const CodePageText id = fromUtf8(options.npcId, *options.page); !id.ok()) {
            tell(kCommand, "the NPC id: " + id.problem);
            return false;
        }
    }
    return true;
}

} // namespace

int runSchedule(Args args)
{
    const auto parsed = parse(args);
    if (const int *status = std::get_if<int>(&parsed))
        return *status;
    const Options &options = std::get<Options>(parsed);
    if (!checkName(options))
        return 1;
    auto entries = readInput(options);
    if (!entries)
        return 1;
    if (const auto message = scheduleCheck(options.npcId, entries->size())) {
        tell(kCommand, *message);
        return 1;
    }
    sortEntries(*entries);
    const ScheduleScript script = generateSchedule(options.npcId, *entries, options.switches);
    for (std::size_t i = 0; i < script.unknownEntries.size(); ++i)
        tell(kCommand, kCommandDataNotFound);
    // Every character was checked against the code page on the way in.
    const int status = writeOrFail(
        kCommand, options.page ? fromUtf8(script.text, *options.page).bytes : script.text);
    return status != 0 || script.unknownEntries.empty() ? status : 1;
}

} // namespace hw::cli
