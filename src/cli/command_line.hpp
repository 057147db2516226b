#pragma once

#include "cli/commands.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace hw::cli {

// What every command does alike: its messages, its output, its options.

/// Writes "hourwright-cli COMMAND: MESSAGE" and a line end to standard error
/// ("hourwright-cli: MESSAGE" for an empty command).
void tell(std::string_view command, std::string_view message);

/// Tells `message` and how to get the command's help; returns 2, the exit
/// status of wrong usage.
int usageError(std::string_view command, std::string_view message);

/// Writes `text` to standard output (writeOutput). Returns 0, or 1 after
/// telling why when the text could not all be written (a full disk, a closed
/// pipe).
int writeOrFail(std::string_view command, std::string_view text);

/// An option a command takes: its long name ("--npc"), perhaps a short one
/// ("-H"), and whether a value follows it ("--npc ID" or "--npc=ID").
struct KnownOption
{
    std::string_view name;
    std::string_view shortName = {};
    bool takesValue = false;
};

/// A command's arguments, sorted out.
struct ParsedArgs
{
    /// The options given, each by its long name, with its value ("" for a
    /// switch), in the order given.
    std::vector<std::pair<std::string_view, std::string_view>> options;
    std::vector<std::string_view> operands; ///< "-" included; all after "--"
    bool help = false; ///< -h or --help
    std::string error; ///< what is wrong with the arguments; empty when nothing

    bool has(std::string_view name) const;
    /// The value of the last `name` given.
    std::optional<std::string_view> value(std::string_view name) const;
};

/// Sorts out `args` by the options in `known` (and -h, --help). An unknown
/// option, a missing value or a value that begins with "--" (an option where
/// a value belongs, as in "--npc --global") is an error.
ParsedArgs parseArgs(Args args, std::span<const KnownOption> known);

/// How the operands of a command may be given.
enum class Operands { None, Any, AtLeastOneFile };

/// The exit status after the help (-h, --help) or after wrong usage: an
/// error of `parsed`, or operands that `operands` does not allow; nothing
/// when the command goes on.
std::optional<int> helpOrUsageError(std::string_view command, const ParsedArgs &parsed,
                                    std::string_view help, Operands operands);

/// For a command that takes no arguments: the exit status after its help
/// (-h, --help) or after wrong usage; nothing when `args` is empty.
std::optional<int> helpOrUsageError(std::string_view command, Args args, std::string_view help);

/// The message for an --encoding value that names no code page.
std::string unknownEncoding(std::string_view name);

/// Why an input file named on the command line cannot be opened, after its
/// name: "is a folder, not a file", "cannot open: No such file or directory".
std::string cannotOpen(const std::error_code &error);

} // namespace hw::cli
