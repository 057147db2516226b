#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "cli/entry_reader.hpp"
#include "cli/stream_io.hpp"

#include "data/game_index_builder.hpp"
#include "data/schedule_checks.hpp"
#include "data/timing_notes.hpp"
#include "generator/day_run.hpp"
#include "generator/schedule_script.hpp"
#include "model/caseless.hpp"
#include "model/messages.hpp"
#include "model/task_entry.hpp"
#include "model/task_list.hpp"
#include "platform/openmw_paths.hpp"

#include <string>
#include <variant>

namespace hw::cli {
namespace {

constexpr std::string_view kCommand = "schedule";

constexpr std::string_view kHelp =
    "Usage: hourwright-cli schedule [--npc ID] [--global|--no-global] [--equal|--no-equal]\n"
    "                               [--visibility|--no-visibility] [--day]\n"
    "                               [--encoding PAGE] [--data FILE]... [--load-order]\n"
    "                               [FILE|-]\n"
    "Print the schedule script of an NPC for the task list in FILE, or in standard\n"
    "input when FILE is - or missing: a task-list file as the window saves it\n"
    "(.hwtasks), or just task entries, one a line in the form of the task list.\n"
    "Action names may be in any letter case, and numbers in any form the window's\n"
    "number fields take, normalised as Add Task does:\n"
    "  ; HourWright task list\n"
    "  ; NPC: Town Guard\n"
    "  ; Global: no\n"
    "  ; Equality: no\n"
    "  ; Visibility: yes\n"
    "  06:00 > Travel > 100/200/0\n"
    "  06:00 > start running\n"
    "  12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"\n"
    "  18:00 > Wander > 1e3/4/&H10/10//10/10/10/10/10/-\n"
    "Lines that begin with \";\" are comments; those before the first entry may\n"
    "name the NPC and the switches, which the options below override. Blank lines\n"
    "and a UTF-8 byte-order mark are skipped; the entries are sorted as the task\n"
    "list sorts them, equal entries in the order given. The script is written with\n"
    "CR LF line ends, ready for the game's script editor.\n"
    "\n"
    "Options:\n"
    "  --npc ID           the NPC's id, quoted in every command of the script;\n"
    "                     needed when the list's header names no NPC\n"
    "  --global           for a script that a central script starts once an hour:\n"
    "                     no guards of its own, and it stops itself at its end\n"
    "  --equal            test every hour condition for equality\n"
    "  --visibility       let Appear, Disappear, Position and Position in Cell\n"
    "                     happen only while the player cannot see the NPC (the\n"
    "                     default of a list whose header does not say)\n"
    "  --no-global, --no-equal, --no-visibility\n"
    "                     switch off what the list's header switches on\n"
    "  --day              print, in place of the script, what it does over a day\n"
    "                     in the game: one line an hour, its fields separated by\n"
    "                     tabs: the hour, the group that runs (its time), the\n"
    "                     group's actions and how many times they run in that\n"
    "                     hour; \"-\", \"-\" and 0 when nothing runs:\n"
    "                       06:00<TAB>06:00<TAB>Start Running, Travel<TAB>1\n"
    "                       07:00<TAB>12:00<TAB>Say<TAB>1\n"
    "                       13:00<TAB>-<TAB>-<TAB>0\n"
    "  --encoding PAGE    write the script in the game's code page: windows-1252\n"
    "                     (English, German, French), windows-1251 (Russian) or\n"
    "                     windows-1250 (Polish); utf-8 (the default) as it is\n"
    "  --data FILE        check the script against the ids of an ESM or ESP file;\n"
    "                     give it once for each file, in load order\n"
    "  --load-order       check it against the game's content files, found as\n"
    "                     'hourwright-cli loadorder' finds them (before any --data)\n"
    "  -h, --help         show this help and exit\n"
    "\n"
    "Notes follow the script on standard error, one a line, each naming the entry\n"
    "it concerns. With game data they name an id the game does not know (with the\n"
    "nearest ids it does), an NPC placed nowhere or more than once, an NPC whose\n"
    "references do not persist for --global; the data files are read in the\n"
    "--encoding code page (windows-1252 when it is utf-8). When a data file cannot\n"
    "be read at all, or no data is found, there are none of these. With data or\n"
    "without, they say when the commands run: an action meant to happen once (Add\n"
    "Item, Say, Appear, ...) that runs in every hour of its group, a group whose\n"
    "first entry chose its test for the others, the hours in which no group runs,\n"
    "a script name changed to one the game can hold. Notes never change the script.\n"
    "\n"
    "Exit status: 0 when the script was printed, notes or not; 1 when the input was\n"
    "refused or game data could not be read whole; 2 for wrong usage.\n";

constexpr KnownOption kOptions[] = {{"--npc", {}, true},
                                    {"--global"},
                                    {"--no-global"},
                                    {"--equal"},
                                    {"--no-equal"},
                                    {"--visibility"},
                                    {"--no-visibility"},
                                    {"--encoding", {}, true},
                                    {"--data", {}, true},
                                    {"--load-order"},
                                    {"--day"}};

struct Options
{
    std::optional<std::string_view> npcId; ///< nothing: the list's header names it
    // Each switch as the command line sets it; nothing: as the list's header sets it.
    std::optional<bool> global, equality, visibility;
    std::optional<CodePage> page; ///< nothing: UTF-8
    std::string_view file = "-";
    std::vector<std::string_view> dataFiles; ///< in load order, after the game's
    bool loadOrder = false;
    bool day = false; ///< the day's table in place of the script

    bool checks() const { return loadOrder || !dataFiles.empty(); }
};

// The options, or the exit status of wrong usage or of the help.
std::variant<Options, int> parse(Args args)
{
    const ParsedArgs parsed = parseArgs(args, kOptions);
    if (const auto status = helpOrUsageError(kCommand, parsed, kHelp, Operands::Any))
        return *status;
    Options options;
    options.npcId = parsed.value("--npc");
    // The last of "--global" and "--no-global" counts, as with any repeated option.
    for (const auto &[name, value] : parsed.options) {
        if (name == "--global" || name == "--no-global")
            options.global = name == "--global";
        else if (name == "--equal" || name == "--no-equal")
            options.equality = name == "--equal";
        else if (name == "--visibility" || name == "--no-visibility")
            options.visibility = name == "--visibility";
        else if (name == "--data" && value == "-")
            return usageError(kCommand, "--data names a file; standard input is for the task list");
        else if (name == "--data")
            options.dataFiles.push_back(value);
    }
    options.loadOrder = parsed.has("--load-order");
    options.day = parsed.has("--day");
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

// The task list of the input, or nothing after telling what was refused.
std::optional<TaskListFile> readInput(const Options &options)
{
    const bool standardInput = options.file == "-";
    const std::string name = standardInput ? "(standard input)" : std::string(options.file);
    const auto report = [&](std::size_t line, std::string_view problem) {
        tell(kCommand,
             name + (line > 0 ? ":" + std::to_string(line) : "") + ": " + std::string(problem));
    };
    if (standardInput)
        return readTaskListInput(readStandardInput(), options.page, report);
    // A pipe or a device is not opened: a FIFO would wait for a writer, and
    // /dev/zero has no end. Standard input takes them.
    const auto path = argumentPath(options.file);
    std::error_code error;
    const auto file = FileSource::open(path, error);
    if (!file) {
        tell(kCommand, name + ": " + cannotOpen(error));
        return std::nullopt;
    }
    return readTaskListInput(readInOrder(*file), options.page, report);
}

// The name's own checks; a name given on the command line is checked before
// the input is read, as in the window.
bool checkName(std::string_view npcId, std::optional<CodePage> page)
{
    if (const auto message = scheduleCheck(npcId, 1)) {
        tell(kCommand, *message);
        return false;
    }
    if (page) {
        if (const CodePageText id = fromUtf8(npcId, *page); !id.ok()) {
            tell(kCommand, "the NPC id: " + id.problem);
            return false;
        }
    }
    return true;
}

// The index of the game data the options name. What could not be read is
// told; `status` becomes 1 then. Nothing, after saying why, when notes against
// the index would be wrong: it has no file, or a file gave nothing at all, so
// that every id the game takes from it would be called unknown.
std::optional<GameIndex> readGameData(const Options &options, int &status)
{
    const CodePage page = options.page.value_or(CodePage::Windows1252);
    std::vector<std::filesystem::path> files;
    if (options.loadOrder) {
        LoadOrder order = readGameLoadOrder(page);
        for (const auto &problem : order.problems)
            tell(kCommand, problemText(problem));
        if (!order.problems.empty())
            status = 1;
        files = std::move(order.contentFiles);
    }
    for (const std::string_view file : options.dataFiles)
        files.push_back(argumentPath(file));
    if (files.empty()) {
        tell(kCommand, "no notes: there is no game data to check the script against");
        status = 1;
        return std::nullopt;
    }
    GameIndex index = buildGameIndex(files, page).value_or(GameIndex());
    bool unread = false;
    for (const auto &file : index.files()) {
        if (!file.outcome.complete()) {
            tell(kCommand, scanMessage(file.path, file.outcome).text());
            status = 1;
            unread = unread || file.outcome.status() == ScanStatus::Unreadable ||
                file.outcome.fault == ScanFault::NotAPlugin;
        }
    }
    if (unread) {
        tell(kCommand,
             "no notes: without the game data that could not be read they would call ids "
             "unknown that the game knows");
        return std::nullopt;
    }
    return index;
}

// Tells the notes on the schedule: when the options name game data, what the
// data says of it, then when its commands run. Returns the exit status:
// 1 when the data could not be read whole.
int tellNotes(const Options &options, std::string_view npcId, std::span<const std::string> entries,
              ScheduleSwitches switches, const ScheduleScript &script)
{
    const auto tellAll = [&](const std::vector<ScheduleNote> &notes) {
        for (const ScheduleNote &note : notes)
            tell(kCommand, "note: " + showControlCharacters(noteLine(note, entries)));
    };
    int status = 0;
    if (options.checks()) {
        if (const auto index = readGameData(options, status))
            tellAll(checkSchedule(npcId, entries, switches, *index));
    }
    tellAll(timingNotes(npcId, entries, switches, script));
    return status;
}

} // namespace

int runSchedule(Args args)
{
    const auto parsed = parse(args);
    if (const int *status = std::get_if<int>(&parsed))
        return *status;
    const Options &options = std::get<Options>(parsed);
    if (options.npcId && !checkName(*options.npcId, options.page))
        return 1;
    auto list = readInput(options);
    if (!list)
        return 1;
    // An empty id on the command line is the window's empty name box; no id
    // anywhere is wrong usage.
    if (!options.npcId && list->npcId.empty())
        return usageError(kCommand,
                          "option '--npc' is missing: name the NPC whose script it "
                          "is, or name it in the task list's header");
    const std::string_view npcId = options.npcId ? *options.npcId : list->npcId;
    if (!options.npcId && !checkName(npcId, options.page))
        return 1;
    if (const auto message = scheduleCheck(npcId, list->entries.size())) {
        tell(kCommand, *message);
        return 1;
    }
    std::vector<std::string> &entries = list->entries;
    sortEntries(entries);
    const ScheduleSwitches switches {options.global.value_or(list->global),
                                     options.equality.value_or(list->equality),
                                     options.visibility.value_or(list->visibility)};
    const ScheduleScript script = generateSchedule(npcId, entries, switches);
    for (std::size_t i = 0; i < script.unknownEntries.size(); ++i)
        tell(kCommand, kCommandDataNotFound);
    const std::string output =
        options.day ? dayTable(scheduleDay(script, switches), entries) : script.text;
    // Every character was checked against the code page on the way in.
    int status =
        writeOrFail(kCommand, options.page ? fromUtf8(output, *options.page).bytes : output);
    // After the script they speak of, when both go to one place.
    if (status == 0)
        status = tellNotes(options, npcId, entries, switches, script);
    return status != 0 || script.unknownEntries.empty() ? status : 1;
}

} // namespace hw::cli
