#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "cli/entry_reader.hpp"
#include "cli/stream_io.hpp"

#include "data/load_order.hpp"
#include "data/plugin_write.hpp"
#include "model/caseless.hpp"
#include "platform/openmw_paths.hpp"
#include "plugin/schedule_plugin.hpp"

#include <string>
#include <variant>

namespace hw::cli {
namespace {

constexpr std::string_view kCommand = "plugin";

constexpr std::string_view kHelp =
    "Usage: hourwright-cli plugin --out FILE [--data FILE]... [--load-order]\n"
    "         [--encoding PAGE] [--author TEXT] [--description TEXT] [--force]\n"
    "         [--replace] [--dry-run] LIST.hwtasks...\n"
    "Write the schedule script of each task list into the plugin FILE (.omwaddon or\n"
    ".esp), which the game then loads as it is: a script record for each list, a\n"
    "start script for each script without Global, and one central script that starts\n"
    "the scripts with Global once an hour. The NPC records are never changed. Each\n"
    "list names its NPC and switches in its header, as the window saves it; - reads\n"
    "one list from standard input.\n"
    "\n"
    "When FILE exists it is merged into, never rebuilt: its records stay byte for\n"
    "byte and in order, the scripts HourWright wrote into it before are replaced in\n"
    "place, the central script keeps the lines added to it, and new records go at the\n"
    "end. Writing the same lists again gives the same bytes. The file is written in\n"
    "one piece or not at all; the first time HourWright changes a plugin that holds\n"
    "other records, the old file is kept as FILE.bak. With --dry-run it says what a\n"
    "write would change, or why it would be refused, and writes nothing.\n"
    "\n"
    "Options:\n"
    "  --out FILE          the plugin to write or merge into\n"
    "  --data FILE         an ESM or ESP file of the game, once for each file, in\n"
    "                      load order: the plugin names the files that define its\n"
    "                      NPCs, and those they need, as its masters\n"
    "  --load-order        the game's content files, found as 'hourwright-cli\n"
    "                      loadorder' finds them (before any --data)\n"
    "  --encoding PAGE     the game's code page: windows-1252 (the default: English,\n"
    "                      German, French), windows-1251 (Russian) or windows-1250\n"
    "                      (Polish)\n"
    "  --author TEXT       the author in the plugin's header (at most 31 bytes)\n"
    "  --description TEXT  its description (at most 255 bytes)\n"
    "  --force             write schedules for NPCs the game data does not know\n"
    "  --replace           of two lists for the same NPC, the later one counts\n"
    "  --dry-run           say what the write would change; write nothing\n"
    "  -h, --help          show this help and exit\n"
    "\n"
    "Without game data the plugin names no new masters: the game must load it after\n"
    "the files that define its NPCs. Start scripts run when a new game begins; in a\n"
    "game in progress, start each in the console: StartScript NAME.\n"
    "\n"
    "Exit status: 0 when the plugin was written or held the schedules already (with\n"
    "--dry-run: when it would be written); 1 when it was refused or could not be\n"
    "written (it is then as it was); 2 for wrong usage.\n";

constexpr KnownOption kOptions[] = {
    {"--out", {}, true},    {"--data", {}, true},        {"--load-order"}, {"--encoding", {}, true},
    {"--author", {}, true}, {"--description", {}, true}, {"--force"},      {"--replace"},
    {"--dry-run"},
};

struct Options
{
    std::string_view out;
    std::vector<std::string_view> lists;
    std::vector<std::string_view> dataFiles; ///< in load order, after the game's
    bool loadOrder = false;
    CodePage page = CodePage::Windows1252;
    std::optional<std::string> author, description;
    bool force = false;
    bool replace = false;
    bool dryRun = false;

    bool gameData() const { return loadOrder || !dataFiles.empty(); }
};

// The options, or the exit status of wrong usage or of the help.
std::variant<Options, int> parse(Args args)
{
    const ParsedArgs parsed = parseArgs(args, kOptions);
    if (const auto status = helpOrUsageError(kCommand, parsed, kHelp, Operands::Any))
        return *status;
    Options options;
    const auto out = parsed.value("--out");
    if (!out || out->empty())
        return usageError(kCommand, "option '--out' is missing: name the plugin to write");
    options.out = *out;
    for (const auto &[name, value] : parsed.options) {
        if (name == "--data" && value == "-")
            return usageError(kCommand, "--data names a file; standard input is for a task list");
        if (name == "--data")
            options.dataFiles.push_back(value);
    }
    options.loadOrder = parsed.has("--load-order");
    if (const auto name = parsed.value("--encoding")) {
        const auto page = codePageFromName(*name);
        if (!page)
            return usageError(kCommand, unknownEncoding(*name));
        options.page = *page;
    }
    if (const auto author = parsed.value("--author"))
        options.author = std::string(*author);
    if (const auto description = parsed.value("--description"))
        options.description = std::string(*description);
    options.force = parsed.has("--force");
    options.replace = parsed.has("--replace");
    options.dryRun = parsed.has("--dry-run");
    if (parsed.operands.empty())
        return usageError(kCommand, "no LIST given: name the task lists to write");
    if (std::count(parsed.operands.begin(), parsed.operands.end(), "-") > 1)
        return usageError(kCommand, "standard input (-) holds one list only");
    options.lists = parsed.operands;
    return options;
}

// The task list in `file` ("-": standard input), or nothing after telling
// what was refused.
std::optional<ScheduleList> readList(std::string_view file, CodePage page)
{
    const bool standardInput = file == "-";
    const std::string name = standardInput ? "(standard input)" : std::string(file);
    const auto report = [&](std::size_t line, std::string_view problem) {
        tell(kCommand,
             name + (line > 0 ? ":" + std::to_string(line) : "") + ": " + std::string(problem));
    };
    std::optional<TaskListFile> list;
    if (standardInput) {
        list = readTaskListInput(readStandardInput(), page, report);
    } else {
        std::error_code error;
        const auto source = FileSource::open(argumentPath(file), error);
        if (!source) {
            tell(kCommand, name + ": " + cannotOpen(error));
            return std::nullopt;
        }
        list = readTaskListInput(readInOrder(*source), page, report);
    }
    if (!list)
        return std::nullopt;
    return ScheduleList {name, std::move(*list)};
}

// The game's content files in load order, after telling what the load
// order's files said.
std::vector<std::filesystem::path> gameFiles(const Options &options)
{
    std::vector<std::filesystem::path> files;
    if (options.loadOrder) {
        LoadOrder order = readGameLoadOrder(options.page);
        for (const auto &problem : order.problems)
            tell(kCommand, "note: " + problemText(problem));
        files = std::move(order.contentFiles);
    }
    for (const std::string_view file : options.dataFiles)
        files.push_back(argumentPath(file));
    return files;
}

} // namespace

int runPlugin(Args args)
{
    const auto parsed = parse(args);
    if (const int *status = std::get_if<int>(&parsed))
        return *status;
    const Options &options = std::get<Options>(parsed);
    std::vector<ScheduleList> lists;
    for (const std::string_view file : options.lists) {
        auto list = readList(file, options.page);
        if (!list)
            return 1;
        lists.push_back(std::move(*list));
    }
    PluginWriteRequest request {{argumentPath(options.out), options.page, options.author,
                                 options.description, options.force}};
    if (options.gameData())
        request.gameFiles = gameFiles(options);
    request.laterReplaces = options.replace;
    const PluginPlan plan = planPluginWrite(std::move(lists), request);
    if (!plan.ok()) {
        tell(kCommand,
             plan.problem +
                 (plan.unknownNpcs ? " Check the id, or write it anyway with --force." : ""));
        return 1;
    }
    for (const std::string &note : plan.notes)
        tell(kCommand, "note: " + note);
    const std::string file = utf8Path(plan.file);
    const std::string unchanged = file + " is unchanged: it holds these schedules already.\n";
    if (options.dryRun)
        return writeOrFail(kCommand,
                           plan.pieces.empty() ? unchanged
                                               : "Would write " + file + ": " +
                                   describeChanges(plan.changes) + ".\n");
    const PluginWritten written = writePlugin(plan);
    if (!written.problem.empty()) {
        tell(kCommand, written.problem);
        return 1;
    }
    const std::string report = written.written
        ? "Wrote " + file + ": " + describeChanges(plan.changes) + ".\n"
        : unchanged;
    return writeOrFail(kCommand, report);
}

} // namespace hw::cli
