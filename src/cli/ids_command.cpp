#include "cli/command_line.hpp"
#include "cli/commands.hpp"

#include "cli/stream_io.hpp"
#include "data/game_index_builder.hpp"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace hw::cli {

namespace {

constexpr const char *kUsage =
    "Usage: hourwright-cli ids [--kind KIND] [--placed]\n"
    "                          [--encoding windows-1252|windows-1251|windows-1250] FILE...\n"
    "Print the ids of one kind from ESM and ESP files, combined in the order given as\n"
    "the game combines them: a later file's record replaces an earlier one with the same\n"
    "id, a deletion removes it. Each id once (letter case ignored), where it first\n"
    "appears, one per line, as UTF-8.\n"
    "  --kind KIND  npc (the default), creature, item, spell, object, cell or region\n"
    "  --placed     after each NPC or creature id, a tab and how many references to it\n"
    "               stand in the cells once the files are combined\n"
    "  --encoding   the game's code page, as for 'hourwright-cli npcs'\n"
    "A file that cannot be read to its end is reported on standard error and makes the\n"
    "exit status 1; what was read before the fault still counts.\n";

void fail(const std::string &message)
{
    std::fprintf(stderr, "hourwright-cli ids: %s\n", message.c_str());
}

struct Options
{
    RecordKind kind = RecordKind::Npc;
    bool placed = false;
    CodePage page = CodePage::Windows1252;
    std::vector<std::filesystem::path> files;
};

// The value of the option `name` at args[at], given as "--name VALUE" or
// "--name=VALUE"; `at` moves past it. Nothing when args[at] is another
// option; an empty value when the value is missing.
std::optional<std::string_view> valueOf(Args args, std::size_t &at, std::string_view name)
{
    const auto arg = args[at];
    if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=')
        return arg.substr(name.size() + 1);
    if (arg != name)
        return std::nullopt;
    return at + 1 < args.size() ? args[++at] : std::string_view();
}

// An option whose value names one of a few things.
struct Choice
{
    const char *option;
    const char *needs; ///< what the option needs when it has no value
    const char *what; ///< what its value names
    const char *known; ///< the names it takes
};

constexpr Choice kKindChoice = {"--kind", "a kind", "kind",
                                "npc, creature, item, spell, object, cell, region"};
constexpr Choice kEncodingChoice = {"--encoding", "a code page", "encoding",
                                    "windows-1252, windows-1251, windows-1250"};

// Sets `into` to what `value` names, or says why it cannot.
template<typename T>
bool pick(const Choice &choice, std::string_view value, std::optional<T> (*find)(std::string_view),
          T &into)
{
    const auto found = find(value);
    if (value.empty())
        fail(std::string(choice.option) + " needs " + choice.needs);
    else if (!found)
        fail(std::string("unknown ") + choice.what + " '" + std::string(value) +
             "' (known: " + choice.known + ")");
    else
        into = *found;
    return !value.empty() && found;
}

// The options, or the exit status when the command ends here.
std::optional<int> parse(Args args, Options &options)
{
    bool optionsDone = false;
    for (std::size_t at = 0; at < args.size(); ++at) {
        const auto arg = args[at];
        if (optionsDone || arg.empty() || arg[0] != '-' || arg == "-") {
            options.files.push_back(argumentPath(arg));
        } else if (arg == "--") {
            optionsDone = true;
        } else if (arg == "-h" || arg == "--help") {
            return writeOrFail("ids", kUsage);
        } else if (arg == "--placed") {
            options.placed = true;
        } else if (const auto kind = valueOf(args, at, "--kind")) {
            if (!pick(kKindChoice, *kind, recordKindFromName, options.kind))
                return 2;
        } else if (const auto page = valueOf(args, at, "--encoding")) {
            if (!pick(kEncodingChoice, *page, codePageFromName, options.page))
                return 2;
        } else {
            fail("unknown option '" + std::string(arg) + "'");
            return 2;
        }
    }
    const bool actors = options.kind == RecordKind::Npc || options.kind == RecordKind::Creature;
    if (options.placed && !actors) {
        fail("--placed counts the references of NPCs and creatures only");
        return 2;
    }
    if (options.files.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return std::nullopt;
}

std::string idLines(const GameIndex &index, const Options &options)
{
    std::string lines;
    for (const auto id : index.inOrder(options.kind)) {
        lines.append(id);
        if (options.placed)
            lines.append(1, '\t') += std::to_string(index.actor(id)->cells.size());
        lines.append(1, '\n');
    }
    return lines;
}

} // namespace

int runIds(Args args)
{
    Options options;
    if (const auto status = parse(args, options))
        return *status;
    const auto index = buildGameIndex(options.files, options.page);
    if (!writeOutput(idLines(*index, options))) {
        fail("cannot write the ids to standard output");
        return 1;
    }
    int status = 0;
    for (const auto &file : index->files()) {
        if (!file.outcome.complete()) {
            fail(scanMessage(file.path, file.outcome).text());
            status = 1;
        }
    }
    return status;
}

} // namespace hw::cli
