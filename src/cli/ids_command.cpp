#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "cli/stream_io.hpp"

#include "data/game_index_builder.hpp"
#include "model/task_entry.hpp"

#include <string>
#include <variant>

namespace hw::cli {

namespace {

constexpr std::string_view kCommand = "ids";

constexpr std::string_view kHelp =
    "Usage: hourwright-cli ids [--kind KIND] [--placed] [--encoding PAGE] FILE...\n"
    "Print the ids of one kind from ESM and ESP files, combined in the order given as\n"
    "the game combines them: a later file's record replaces an earlier one with the same\n"
    "id, a deletion removes it. Each id once (letter case ignored), where it first\n"
    "appears, one per line, as UTF-8; a control character in an id is printed as \\xNN.\n"
    "A FILE of - is standard input.\n"
    "\n"
    "Options:\n"
    "  --kind KIND      npc (the default), creature, item, spell, object, cell or region\n"
    "  --placed         after each NPC or creature id, a tab and how many references to\n"
    "                   it stand in the cells once the files are combined\n"
    "  --encoding PAGE  the game's code page, as for 'hourwright-cli npcs'\n"
    "  -h, --help       show this help and exit\n"
    "\n"
    "A file that cannot be read to its end is reported on standard error and makes the\n"
    "exit status 1; what was read before the fault still counts.\n";

constexpr KnownOption kOptions[] = {{"--kind", {}, true}, {"--placed"}, {"--encoding", {}, true}};

constexpr std::string_view kStandardInputName = "(standard input)";

struct Options
{
    RecordKind kind = RecordKind::Npc;
    bool placed = false;
    CodePage page = CodePage::Windows1252;
};

// The options, or the exit status of wrong usage.
std::variant<Options, int> options(const ParsedArgs &parsed)
{
    Options options;
    if (const auto name = parsed.value("--kind")) {
        const auto kind = recordKindFromName(*name);
        if (!kind)
            return usageError(kCommand,
                              "unknown kind '" + std::string(*name) +
                                  "' (known: npc, creature, item, spell, object, "
                                  "cell, region)");
        options.kind = *kind;
    }
    if (const auto name = parsed.value("--encoding")) {
        const auto page = codePageFromName(*name);
        if (!page)
            return usageError(kCommand, unknownEncoding(*name));
        options.page = *page;
    }
    options.placed = parsed.has("--placed");
    if (options.placed && options.kind != RecordKind::Npc && options.kind != RecordKind::Creature)
        return usageError(kCommand, "--placed counts the references of NPCs and creatures only");
    return options;
}

// Adds `file` ("-": standard input) to the index; false after telling why
// standard input cannot be read.
bool add(GameIndexBuilder &builder, std::string_view file)
{
    if (file != "-")
        return builder.addFile(argumentPath(file));
    StandardInput input = standardInput();
    if (!input.source) {
        tell(kCommand, input.problem);
        return false;
    }
    return builder.addSource(*input.source, argumentPath(kStandardInputName));
}

std::string idLines(const GameIndex &index, const Options &options)
{
    std::string lines;
    for (const auto id : index.inOrder(options.kind)) {
        lines.append(showControlCharacters(id));
        if (options.placed)
            lines.append(1, '\t') += std::to_string(index.placementCount(id));
        lines.append(1, '\n');
    }
    return lines;
}

} // namespace

int runIds(Args args)
{
    const ParsedArgs parsed = parseArgs(args, kOptions);
    if (const auto status = helpOrUsageError(kCommand, parsed, kHelp, Operands::AtLeastOneFile))
        return *status;
    const auto chosen = options(parsed);
    if (const int *status = std::get_if<int>(&chosen))
        return *status;
    const Options &options = std::get<Options>(chosen);

    int status = 0;
    GameIndexBuilder builder(options.page);
    // The ids are printed in the order they appear, never sorted.
    builder.leaveOutSortedLists();
    if (!options.placed)
        builder.leaveOutPlacements();
    for (const std::string_view file : parsed.operands)
        if (!add(builder, file))
            status = 1;
    const GameIndex index = builder.finish();
    if (writeOrFail(kCommand, idLines(index, options)) != 0)
        return 1;
    // After the ids they speak of, when both go to one place.
    for (const auto &file : index.files()) {
        if (!file.outcome.complete()) {
            tell(kCommand, scanMessage(file.path, file.outcome).text());
            status = 1;
        }
    }
    return status;
}

} // namespace hw::cli
