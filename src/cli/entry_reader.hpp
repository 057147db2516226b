#pragma once

#include "cli/stream_io.hpp"
#include "model/task_list_file.hpp"
#include "plugin/code_page.hpp"

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

namespace hw::cli {

/// Told of each refused line by its number, and of a fault of the whole input
/// (line 0).
using ReportProblem = std::function<void(std::size_t line, std::string_view problem)>;

/// Reads a task list from `read` as a task-list file holds it (TaskListReader:
/// a header, comments, blank lines, one entry a line), without ever holding
/// more than one line beyond the entries read. Every refused line is reported
/// and reading goes on; a UTF-16 text, a read error, a line longer than
/// kEntryLineLimit or a text longer than kTaskListFileLimit (the window's
/// limit too) end the reading. With
/// `page`, an entry that holds a character the page has no byte for is
/// refused too. Returns the header and the entries in input order, as Add
/// Task stores them, or nothing when anything was refused.
std::optional<TaskListFile> readTaskListInput(ReadNext read, std::optional<CodePage> page,
                                              const ReportProblem &report);

} // namespace hw::cli
