#include "cli/command_line.hpp"
#include "cli/commands.hpp"
#include "cli/stream_io.hpp"

#include "model/task_entry.hpp"
#include "plugin/es_read.hpp"

#include <optional>
#include <string>

namespace hw::cli {
namespace {

constexpr std::string_view kCommand = "npcs";

constexpr std::string_view kHelp =
    "Usage: hourwright-cli npcs [-H] [--encoding PAGE] FILE...\n"
    "Print the NPC ids of each ESM or ESP file, one per line, in file order, as UTF-8.\n"
    "A FILE of - is standard input. Ids are read in the game's code page: windows-1252\n"
    "(the default) for the English, German and French editions, windows-1251 for the\n"
    "Russian and windows-1250 for the Polish one. A control character in an id (a line\n"
    "break, a tab) is printed as \\xNN, two upper-case hexadecimal digits; every other\n"
    "byte as read. A file that cannot be read to its end is reported on standard error\n"
    "and makes the exit status 1; the ids found before the fault are still printed.\n"
    "\n"
    "Options:\n"
    "  -H, --with-filename  put the file's name and a tab before each id\n"
    "                       (\"(standard input)\" for -)\n"
    "  --encoding PAGE      windows-1252, windows-1251 or windows-1250\n"
    "  -h, --help           show this help and exit\n";

constexpr KnownOption kOptions[] = {{"--encoding", {}, true}, {"--with-filename", "-H"}};

constexpr std::string_view kStandardInputName = "(standard input)";

// Reads the ids of `file` ("-": standard input) into `reader`; nothing after
// telling why standard input cannot be read.
std::optional<ScanOutcome> scan(ESRead &reader, std::string_view file, CodePage page)
{
    if (file != "-")
        return reader.ReadNPCNames(argumentPath(file), page);
    StandardInput input = standardInput();
    if (!input.source) {
        tell(kCommand, input.problem);
        return std::nullopt;
    }
    return reader.ReadNPCNames(*input.source, page);
}

// The ids found, one a line, each after `prefix`.
std::string idLines(const ESRead &reader, std::size_t count, std::string_view prefix)
{
    std::string lines;
    for (std::size_t i = 0; i < count; ++i)
        lines.append(prefix).append(showControlCharacters(reader.NPCNames[i])).append(1, '\n');
    return lines;
}

} // namespace

int runNpcs(Args args)
{
    const ParsedArgs parsed = parseArgs(args, kOptions);
    if (const auto status = helpOrUsageError(kCommand, parsed, kHelp, Operands::AtLeastOneFile))
        return *status;
    CodePage page = CodePage::Windows1252;
    if (const auto name = parsed.value("--encoding")) {
        const auto chosen = codePageFromName(*name);
        if (!chosen)
            return usageError(kCommand, unknownEncoding(*name));
        page = *chosen;
    }

    int status = 0;
    ESRead reader;
    for (const std::string_view file : parsed.operands) {
        const auto outcome = scan(reader, file, page);
        if (!outcome) {
            status = 1;
            continue;
        }
        const std::string name(file == "-" ? kStandardInputName : file);
        const std::string prefix = parsed.has("--with-filename") ? name + '\t' : "";
        // Written and flushed before the message, which follows the ids it
        // speaks of when both go to one place.
        if (writeOrFail(kCommand, idLines(reader, outcome->idCount, prefix)) != 0)
            return 1;
        if (!outcome->complete()) {
            tell(kCommand, scanMessage(argumentPath(name), *outcome).text());
            status = 1;
        }
    }
    return status;
}

} // namespace hw::cli
