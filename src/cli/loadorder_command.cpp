#include "cli/command_line.hpp"
#include "cli/commands.hpp"

#include "cli/stream_io.hpp"
#include "data/morrowind_ini.hpp"
#include "data/openmw_config.hpp"
#include "platform/openmw_paths.hpp"

#include <cstdio>
#include <optional>
#include <string>

namespace hw::cli {

namespace {

constexpr const char *kUsage =
    "Usage: hourwright-cli loadorder [--openmw CFG | --morrowind-ini INI]\n"
    "                                [--encoding windows-1252|windows-1251|windows-1250]\n"
    "Print the game's content files (masters and plugins) in load order, one full\n"
    "path per line, as UTF-8.\n"
    "  --openmw CFG         read OpenMW's openmw.cfg CFG and the files its config=\n"
    "                       lines chain to\n"
    "  --morrowind-ini INI  read the original game's Morrowind.ini INI, written in\n"
    "                       the --encoding code page (windows-1252 by default)\n"
    "Without either, OpenMW's user configuration is read when there is one, else\n"
    "the Morrowind.ini of the game's folder. Broken lines and files that are named\n"
    "but missing are reported on standard error and make the exit status 1; the\n"
    "files found are still printed. A load order without any file found is\n"
    "reported and makes the exit status 1 too.\n";

void fail(const std::string &message)
{
    std::fprintf(stderr, "hourwright-cli loadorder: %s\n", message.c_str());
}

int usageError(const std::string &message)
{
    fail(message);
    return 2;
}

struct Options
{
    enum class Source { Default, OpenMw, MorrowindIni } source = Source::Default;
    std::string_view file;
    CodePage page = CodePage::Windows1252;
};

// The value of an option given as "--name VALUE" or "--name=VALUE".
std::optional<std::string_view> optionValue(Args args, std::size_t &i, std::string_view name)
{
    const auto arg = args[i];
    if (arg.size() > name.size() && arg[name.size()] == '=')
        return arg.substr(name.size() + 1);
    if (i + 1 < args.size())
        return args[++i];
    return std::nullopt;
}

// Reads the options into `options`; the exit status for a usage error or
// --help, else nullopt.
std::optional<int> parseOptions(Args args, Options &options)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto arg = args[i];
        const auto name = arg.substr(0, arg.find('='));
        if (arg == "-h" || arg == "--help") {
            return writeOrFail("loadorder", kUsage);
        }
        if (name != "--openmw" && name != "--morrowind-ini" && name != "--encoding")
            return usageError(arg.starts_with('-') ? "unknown option '" + std::string(arg) + "'"
                                                   : "unexpected argument '" + std::string(arg) +
                                      "' (name a file with --openmw or --morrowind-ini)");
        const auto value = optionValue(args, i, name);
        if (!value)
            return usageError(std::string(name) + " needs a value");
        if (name == "--encoding") {
            const auto page = codePageFromName(*value);
            if (!page)
                return usageError("unknown encoding '" + std::string(*value) +
                                  "' (known: windows-1252, windows-1251, windows-1250)");
            options.page = *page;
            continue;
        }
        if (options.source != Options::Source::Default)
            return usageError("give only one of --openmw and --morrowind-ini");
        options.source =
            name == "--openmw" ? Options::Source::OpenMw : Options::Source::MorrowindIni;
        options.file = *value;
    }
    return std::nullopt;
}

LoadOrder readLoadOrder(const Options &options)
{
    switch (options.source) {
    case Options::Source::OpenMw:
        return readOpenMwLoadOrder(argumentPath(options.file), openMwPaths());
    case Options::Source::MorrowindIni:
        return readMorrowindIniLoadOrder(argumentPath(options.file), options.page);
    case Options::Source::Default:
        break;
    }
    return readGameLoadOrder(options.page);
}

} // namespace

int runLoadOrder(Args args)
{
    Options options;
    if (const auto status = parseOptions(args, options))
        return *status;
    const LoadOrder order = readLoadOrder(options);
    std::string lines;
    for (const auto &file : order.contentFiles)
        lines.append(utf8Path(file)).append(1, '\n');
    // Written and flushed before the messages, which then follow the files
    // when both go to one place.
    if (!writeOutput(lines)) {
        fail("cannot write the content files to standard output");
        return 1;
    }
    for (const auto &problem : order.problems)
        fail(problemText(problem));
    // The game would start with nothing, and the window loads nothing either.
    if (order.contentFiles.empty()) {
        fail(order.source.empty() ? std::string("no content file was found; nothing is loaded")
                                  : "the load order of \"" + utf8Path(order.source) +
                     "\" names no content file that could be found; nothing is loaded");
        return 1;
    }
    return order.problems.empty() ? 0 : 1;
}

} // namespace hw::cli
