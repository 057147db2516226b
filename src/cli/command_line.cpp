#include "cli/command_line.hpp"

#include "cli/stream_io.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace hw::cli {

void tell(std::string_view command, std::string_view message)
{
    std::string line = "hourwright-cli";
    if (!command.empty())
        line.append(" ").append(command);
    line.append(": ").append(message).append("\n");
    std::fputs(line.c_str(), stderr);
}

int usageError(std::string_view command, std::string_view message)
{
    tell(command, message);
    std::fprintf(stderr, "Try 'hourwright-cli %.*s --help'.\n", static_cast<int>(command.size()),
                 command.data());
    return 2;
}

int writeOrFail(std::string_view command, std::string_view text)
{
    errno = 0;
    if (writeOutput(text))
        return 0;
    const int error = errno;
    tell(command,
         "cannot write to standard output: " +
             std::string(error != 0 ? std::strerror(error) : "output error"));
    return 1;
}

bool ParsedArgs::has(std::string_view name) const
{
    return value(name).has_value();
}

std::optional<std::string_view> ParsedArgs::value(std::string_view name) const
{
    for (auto it = options.rbegin(); it != options.rend(); ++it)
        if (it->first == name)
            return it->second;
    return std::nullopt;
}

namespace {

std::string quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

// Takes the option `arg` (and its value from the arguments after it, moving
// `i` past it); false with the error set when it cannot be taken.
bool takeOption(Args args, std::size_t &i, std::span<const KnownOption> known, ParsedArgs &parsed)
{
    const std::string_view arg = args[i];
    const auto equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
    const std::string_view name = arg.substr(0, equals);
    const auto spec = std::find_if(known.begin(), known.end(), [&](const KnownOption &s) {
        return s.name == name || (!s.shortName.empty() && s.shortName == name);
    });
    if (spec == known.end()) {
        parsed.error = "unknown option " + quoted(name);
        return false;
    }
    std::string_view value;
    if (equals != std::string_view::npos) {
        value = arg.substr(equals + 1);
        if (!spec->takesValue) {
            parsed.error = "option " + quoted(spec->name) + " takes no value";
            return false;
        }
    } else if (spec->takesValue) {
        if (i + 1 == args.size()) {
            parsed.error = "option " + quoted(spec->name) + " needs a value";
            return false;
        }
        value = args[++i];
    }
    if (spec->takesValue && value.starts_with("--")) {
        parsed.error =
            "option " + quoted(spec->name) + " needs a value, not the option " + quoted(value);
        return false;
    }
    parsed.options.emplace_back(spec->name, value);
    return true;
}

} // namespace

ParsedArgs parseArgs(Args args, std::span<const KnownOption> known)
{
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-')
            parsed.operands.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "-h" || arg == "--help")
            parsed.help = true;
        else if (!takeOption(args, i, known, parsed))
            return parsed;
    }
    return parsed;
}

std::optional<int> helpOrUsageError(std::string_view command, const ParsedArgs &parsed,
                                    std::string_view help, Operands operands)
{
    if (!parsed.error.empty())
        return usageError(command, parsed.error);
    if (parsed.help)
        return writeOrFail(command, help);
    if (operands == Operands::None && !parsed.operands.empty())
        return usageError(command, "takes no arguments");
    if (operands == Operands::AtLeastOneFile && parsed.operands.empty())
        return usageError(command, "no FILE given");
    return std::nullopt;
}

std::optional<int> helpOrUsageError(std::string_view command, Args args, std::string_view help)
{
    return helpOrUsageError(command, parseArgs(args, {}), help, Operands::None);
}

std::string unknownEncoding(std::string_view name)
{
    return "unknown encoding " + quoted(name) +
        " (known: windows-1252, windows-1251, windows-1250)";
}

std::string cannotOpen(const std::error_code &error)
{
    if (error == FileError::NotRegularFile)
        return "is not a regular file; send a pipe or a device to standard input (-) instead";
    if (error == std::errc::is_a_directory)
        return "is a folder, not a file";
    return "cannot open: " + error.message();
}

} // namespace hw::cli
