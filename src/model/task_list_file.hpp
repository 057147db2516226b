#pragma once

#include "model/entry_line.hpp"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

// A task list kept as a text file (".hwtasks"): UTF-8, one line each, LF line
// ends (CR LF and a CR alone are read as line ends too). Lines that begin with ";" are comments;
// among them, "; KEY: value" lines before the first entry are the header (keys NPC, Global,
// Equality, Visibility and Plugin, letter case ignored, other keys passed over). Every other line
// that is not blank is one task entry as the task list shows it, in list order:
//
//     ; HourWright task list
//     ; NPC: Town Guard
//     ; Global: no
//     ; Equality: no
//     ; Visibility: yes
//     ; Plugin: ../Data Files/Town Guards.omwaddon
//     06:00 > Start Running
//     06:00 > Travel > 100/200/0

/// The largest task-list text that is read whole: far beyond any list an
/// author makes, and a bound on what a wrong file can make the program hold.
inline constexpr std::size_t kTaskListFileLimit = 32 * 1024 * 1024;

/// Why a text larger than kTaskListFileLimit is refused.
inline constexpr std::string_view kTaskListTooLarge =
    "the text is larger than 32 MiB, which no task list is";
static_assert(kTaskListFileLimit == 32 * 1024 * 1024, "kTaskListTooLarge names the limit");

/// A task list as its file keeps it.
struct TaskListFile
{
    /// The NPC id exactly as typed, blanks included; empty when the header names none.
    std::string npcId;
    bool global = false; ///< the "Global" switch
    bool equality = false; ///< the "Test for Complete Equality" switch
    std::vector<std::string> entries; ///< as Add Task stores them, in list order
    /// The "Check Visibility" switch; a file from before it was kept means yes.
    bool visibility = true;
    /// The plugin the list was last written to, as the header names it: a
    /// path relative to the list's folder, folders parted by "/" on every
    /// system (see listPlugin); empty when it names none.
    std::string plugin = {};

    bool operator==(const TaskListFile &) const = default;
};

/// Reads a task-list text one line at a time, as a file's lines come, so that
/// a reader of any length of text holds no more than one line of it.
class TaskListReader
{
public:
    /// What one line gave.
    struct Line
    {
        std::string entry; ///< the entry the line holds; empty for blank, comment and header lines
        std::string problem; ///< why the line is refused; empty when it is not
        /// The problem is the whole text's (it is UTF-16): no later line can be read.
        bool wholeText = false;

        bool ok() const { return problem.empty(); }
    };

    /// Reads the next line, without its line end (see takeLine). The first
    /// line may begin with a UTF-8 byte-order mark; a UTF-16 text is refused
    /// there. A line that is not UTF-8 is refused, and so is one that holds a
    /// NUL or a character other programs break lines at (vertical tab, form
    /// feed, U+0085, U+2028, U+2029): what follows it would otherwise be read
    /// as part of a comment and lost. An entry line goes through
    /// readEntryLine, so the entry is the one Add Task stores for its values.
    Line read(std::string_view line);

    /// What the header named so far.
    const TaskListFile &header() const { return m_header; }

private:
    std::string readHeaderLine(std::string_view line);

    TaskListFile m_header; // without entries
    std::size_t m_number = 0;
    bool m_inHeader = true;
    bool m_seen[5] = {};
};

/// A whole task-list text read, or the first thing that stopped it.
struct TaskListRead
{
    TaskListFile list; ///< empty when refused
    std::size_t line = 0; ///< the refused line, counted from 1; 0 for the whole text
    std::string problem; ///< in words for the author; empty when the list was read

    bool ok() const { return problem.empty(); }
};

/// Reads a whole task-list text (TaskListReader's rules). A text larger than
/// kTaskListFileLimit, or with a line longer than kEntryLineLimit, is refused;
/// so is the whole text when one line is: a list is taken whole or not at all.
TaskListRead readTaskList(std::string_view text);

/// A task list written as text, or why it cannot be.
struct TaskListText
{
    std::string text;
    std::string problem; ///< empty when written

    bool ok() const { return problem.empty(); }
};

/// Writes `list` as a task-list text: the header ("; NPC:" and "; Plugin:"
/// only when not empty), then each entry on a line of its own, every line
/// ending in LF. An id or plugin with a blank at either end, or in double
/// quotes, is written in double quotes so that it reads back exactly. An id,
/// plugin or entry with a control character cannot be kept on one line and is
/// refused.
TaskListText writeTaskList(const TaskListFile &list);

/// The plugin that `list`, kept in the file `listFile`, names: its Plugin
/// path taken from the list's folder, so that a list moved together with its
/// plugin still finds it, and one moved alone names a plugin beside it that
/// may not be there. Empty when the list names none.
std::filesystem::path listPlugin(const TaskListFile &list, const std::filesystem::path &listFile);

/// How a list kept in `listFile` names `plugin` in its header: the path from
/// the list's folder to the plugin ("Mod.omwaddon", "../Data Files/Mod.esp"),
/// with "/" between folders; the whole path where there is no such path (a
/// plugin on another drive). Relative paths are taken from the current folder.
std::string pluginReference(const std::filesystem::path &plugin,
                            const std::filesystem::path &listFile);

} // namespace hw
