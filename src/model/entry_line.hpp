#pragma once

#include "model/task_entry.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace hw {

// A task entry written as a line of text, as the task list shows it: what a
// task-list file and the command line read.

/// The longest line read as an entry, in bytes. No entry the window can make
/// comes near it; a longer line is no task list's.
inline constexpr std::size_t kEntryLineLimit = 64 * 1024;

/// A line read as a task entry: the entry, or why the line is not one.
struct EntryLine
{
    std::string entry; ///< as Add Task stores it; empty when refused
    std::string problem; ///< what is wrong, in words for the author; empty when read

    bool ok() const { return problem.empty(); }
};

/// Reads `line` (without its line end): a time "00:00" to "23:00", " > ", an
/// action of the catalogue in any letter case and, when the action stores
/// options, " > " and exactly its number of values joined by "/": texts in
/// double quotes, numbers in any form a number field takes ("1e3", "&H10",
/// "", "-", blanks inside). The values go through Add Task's checks
/// (buildTaskEntry), so the entry is the one Add Task stores for them, and a
/// refusal names the option and gives Add Task's message.
EntryLine readEntryLine(std::string_view line);

/// The next line of `text` without its line end, which is LF, CR LF or a CR
/// alone (as old Mac editors end lines); `text` moves past it.
std::string_view takeLine(std::string_view &text);

/// What Add Task reads from the window to store an entry: the time, the
/// action and the option fields (enabled with their texts: a number as the
/// entry stores it, a text without its quotes).
struct EntryFields
{
    std::string time;
    const Action *action = nullptr;
    OptionFields fields;
};

/// The fields that give `entry` back through Add Task, so that a stored entry
/// can be changed in the window; nothing when `entry` is no task entry (the
/// checks of readEntryLine).
std::optional<EntryFields> entryFields(std::string_view entry);

/// Checks how a task list's text begins: removes a UTF-8 byte-order mark from
/// the front of `text`, and returns the refusal of a UTF-16 text (a UTF-16
/// byte-order mark, or a NUL among the first two bytes, which no line of text
/// holds). `text` needs to hold only the first line.
std::optional<std::string_view> takeTextStart(std::string_view &text);

/// `text` in double quotes for a message: control characters written as
/// "\xNN", and anything after its first 80 characters cut off, which "..."
/// after the closing quote then shows.
std::string quotedForMessage(std::string_view text);

} // namespace hw
