#pragma once

#include "model/task_list_file.hpp"

#include <QString>

namespace hw {

/// The problem of a refused task-list text, with its line: "Line 7: ...", or
/// capitalised alone when it has no line. Opening a file and pasting into the
/// task list tell it alike.
QString readProblem(const TaskListRead &read);

} // namespace hw
