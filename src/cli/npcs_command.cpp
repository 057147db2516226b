#include "cli/commands.hpp"

#include "cli/stream_io.hpp"
#include "plugin/es_read.hpp"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace hw::cli {

namespace {

constexpr const char *kUsage =
    "Usage: hourwright-cli npcs [--encoding windows-1252|windows-1251|windows-1250] FILE...\n"
    "Print the NPC ids of each ESM or ESP file, one per line, in file order, as UTF-8.\n"
    "Ids are read in the game's code page: windows-1252 (the default) for the English,\n"
    "German and French editions, windows-1251 for the Russian and windows-1250 for the\n"
    "Polish one. A file that cannot be read to its end is reported on standard error\n"
    "and makes the exit status 1; the ids found before the fault are still printed.\n";

void fail(const std::string &message)
{
    std::fprintf(stderr, "hourwright-cli npcs: %s\n", message.c_str());
}

int usageError(const std::string &message)
{
    fail(message);
    return 2;
}

} // namespace

int runNpcs(Args args)
{
    CodePage page = CodePage::Windows1252;
    std::vector<std::string_view> files;
    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto arg = args[i];
        if (optionsDone || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsDone = true;
        } else if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--encoding" || arg.starts_with("--encoding=")) {
            std::string_view name;
            if (arg != "--encoding")
                name = arg.substr(arg.find('=') + 1);
            else if (i + 1 < args.size())
                name = args[++i];
            else
                return usageError("--encoding needs a code page");
            const auto chosen = codePageFromName(name);
            if (!chosen)
                return usageError("unknown encoding '" + std::string(name) +
                                  "' (known: windows-1252, windows-1251, windows-1250)");
            page = *chosen;
        } else {
            return usageError("unknown option '" + std::string(arg) + "'");
        }
    }
    if (files.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    int status = 0;
    ESRead reader;
    for (const auto file : files) {
        const auto path = argumentPath(file);
        const auto outcome = reader.ReadNPCNames(path, page);
        std::string ids;
        for (std::size_t i = 0; i < outcome.idCount; ++i)
            ids.append(reader.NPCNames[i]).append(1, '\n');
        // Written and flushed before the message, which follows the ids it
        // speaks of when both go to one place.
        if (!writeOutput(ids)) {
            fail("cannot write the ids to standard output");
            return 1;
        }
        if (!outcome.complete()) {
            fail(scanMessage(path, outcome).text());
            status = 1;
        }
    }
    return status;
}

} // namespace hw::cli
