#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hw::cli {

/// A line of the input that is not a task entry, and why.
struct EntryProblem
{
    std::size_t line; ///< counted from 1
    std::string what;
};

struct TaskEntries
{
    std::vector<std::string> entries; ///< in input order, as Add Task would store them
    std::vector<EntryProblem> problems;
};

/// The task entries of `text`, one a line (LF or CR LF line ends; blank lines
/// and a leading UTF-8 byte order mark are skipped). A line is accepted in the
/// form Add Task writes: a time "00:00" to "23:00", an action of the catalogue
/// in any letter case and, when the action stores options, exactly its number
/// of values: texts in double quotes without inner quotes, numbers as a number
/// field holds them. Accepted entries are rewritten as Add Task stores them:
/// the catalogue's spelling of the action and normalised numbers.
TaskEntries readTaskEntries(std::string_view text);

} // namespace hw::cli
